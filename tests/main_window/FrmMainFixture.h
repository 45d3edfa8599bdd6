// The main window's logic over real name boxes, list and dialog doubles, and the test backend.
#pragma once

#include "filenamebox/FileNameBox.h"
#include "main_window/frmMain.h"
#include "platform/PropertyBag.h"
#include "platform/Text.h"
#include "tests/fakes/FakeHost.h"
#include "tests/fakes/FakeSystem.h"
#include "tests/fakes/FakeTextBox.h"
#include "tests/fakes/FakeWindowControls.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace relingo::test {

// A main window with everything it stands on, in memory.
struct WindowWorld {
    WindowWorld() {
        PropertyBag designed;
        designed.Write(u"Mode", int32_t{1}, int32_t{0});
        ipdkBox.ReadProperties(designed);
        programBox.ReadProperties(designed);
    }

    // The message boxes shown so far, as "caption|style|text" with no caption as "-".
    std::vector<std::string> Boxes() const {
        std::vector<std::string> out;
        for (const auto& box : system.MsgBoxes()) {
            out.push_back((box.caption ? ToUtf8(*box.caption) : std::string("-")) + "|" +
                          std::to_string(box.style) + "|" + ToUtf8(box.text));
        }
        return out;
    }

    FakeSystem system;
    FakeHost host;
    FakeTextBox ipdkInput;
    FakeTextBox programInput;
    FileNameBox ipdkBox{system, host, ipdkInput};
    FileNameBox programBox{system, host, programInput};
    FakeList cmbFirst{{u"English", u"German", u"French", u"Italian", u"Spanish", u"Japanese",
                       u"Korean", u"SimpChin", u"TradChin"}};
    FakeList cmbSecond{{u"(Default)", u"(None)"}};
    FakeOpenDialog dlgFileOpen;
    frmMain form{system, {ipdkBox, programBox, cmbFirst, cmbSecond, dlgFileOpen}, 0x1234};
};

class FrmMainTest : public ::testing::Test, public WindowWorld {};

} // namespace relingo::test
