// The main window's logic over real name boxes, list and dialog doubles, and the test backend.
#pragma once

#include "filenamebox/FileNameBox.h"
#include "main_window/ControlAdapters.h"
#include "main_window/frmMain.h"
#include "platform/PropertyBag.h"
#include "platform/Text.h"
#include "tests/fakes/FakeHost.h"
#include "tests/fakes/FakeSystem.h"
#include "tests/fakes/FakeTextBox.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace relingo::test {

class FakeList final : public DropDownList {
public:
    explicit FakeList(std::vector<std::u16string> items) : items_(std::move(items)) {}
    std::u16string Text() const override { return index_ >= 0 ? items_[index_] : u""; }
    int16_t ListIndex() const override { return index_; }
    void SetListIndex(int16_t index) override {
        if (index < -1 || index >= ListCount()) {
            throw Error(errnum::kInvalidPropertyValue);
        }
        index_ = index;
    }
    int16_t ListCount() const override { return static_cast<int16_t>(items_.size()); }

private:
    std::vector<std::u16string> items_;
    int16_t index_ = -1;
};

// The open dialog as the window drives it: records its seeds and plays a scripted outcome.
class FakeOpenDialog final : public OpenFileDialog {
public:
    std::vector<std::u16string> seeds;
    bool cancelError = false;
    // What ShowOpen does; by default the user picks nothing new.
    std::function<void(FakeOpenDialog&)> outcome = [](FakeOpenDialog&) {};
    std::u16string fileName;

    void SetCancelError(bool value) override { cancelError = value; }
    void SetFileName(const std::u16string& name) override { fileName = name; }
    void ShowOpen() override {
        seeds.push_back(fileName);
        outcome(*this);
    }
    std::u16string FileName() const override { return fileName; }
};

class FrmMainTest : public ::testing::Test {
protected:
    FrmMainTest() {
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
    FileNameBoxAdapter txtIPDK{ipdkBox};
    FileNameBoxAdapter txtFileName{programBox};
    FakeList cmbFirst{{u"English", u"German", u"French", u"Italian", u"Spanish", u"Japanese",
                       u"Korean", u"SimpChin", u"TradChin"}};
    FakeList cmbSecond{{u"(Default)", u"(None)"}};
    FakeOpenDialog dlgFileOpen;
    frmMain form{system, {txtIPDK, txtFileName, cmbFirst, cmbSecond, dlgFileOpen}, 0x1234};
};

} // namespace relingo::test
