// A FileNameBox over the test backend, loaded as a running program loads it, and the helpers the
// tests share to read the boxes it showed.
#pragma once

#include "filenamebox/FileNameBox.h"
#include "platform/Text.h"
#include "tests/fakes/FakeHost.h"
#include "tests/fakes/FakeSystem.h"
#include "tests/fakes/FakeTextBox.h"
#include "tests/filenamebox/ExpectedMessages.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace relingo::test {

// One message box as the user saw it.
struct Shown {
    std::u16string text;
    std::u16string caption;
    int32_t style = 0;
    friend bool operator==(const Shown&, const Shown&) = default;
};

inline void PrintTo(const Shown& shown, std::ostream* os) {
    *os << "{\"" << ToUtf8(shown.text) << "\", \"" << ToUtf8(shown.caption) << "\", " << shown.style
        << "}";
}

// The box a fault shows in English, with its caption and style.
inline Shown Fault(const expected::Message& message, const expected::Message& caption,
                   int32_t style) {
    return {message.english, caption.english, style};
}
inline Shown Warning(const expected::Message& message) {
    return Fault(message, expected::kCaptionWarning, 16);
}
inline Shown Caution(const expected::Message& message) {
    return Fault(message, expected::kCaptionCaution, 48);
}

// The refused-character box, listing the whole set.
inline Shown IllegalCharacterBox() {
    return {std::u16string(expected::kIllegalCharacter.english) + u"\r" +
                expected::kIllegalCharacterList.english + u"   /<>?|*'\"",
            expected::kCaptionWarning.english, 16};
}

// Records every event the box raises, in order, and lets a test act on the parameters.
class RecordingEvents : public FileNameBoxEvents {
public:
    std::vector<std::string> log;
    std::vector<int16_t> keyPresses;
    // When set, the handlers replace the parameter with this value.
    std::optional<int16_t> replaceKeyAscii;
    std::optional<int16_t> replaceKeyCode;
    std::optional<int16_t> replaceButton;
    std::optional<float> replaceX;

    void Change() override { log.push_back("Change"); }
    void Click() override { log.push_back("Click"); }
    void DblClick() override { log.push_back("DblClick"); }
    void KeyDown(int16_t& keyCode, int16_t& shift) override {
        log.push_back("KeyDown " + std::to_string(keyCode) + " " + std::to_string(shift));
        if (replaceKeyCode) {
            keyCode = *replaceKeyCode;
        }
    }
    void KeyPress(int16_t& keyAscii) override {
        keyPresses.push_back(keyAscii);
        if (replaceKeyAscii) {
            keyAscii = *replaceKeyAscii;
        }
    }
    void KeyUp(int16_t& keyCode, int16_t& shift) override {
        log.push_back("KeyUp " + std::to_string(keyCode) + " " + std::to_string(shift));
    }
    void MouseDown(int16_t& button, int16_t& shift, float& x, float& y) override {
        Mouse("MouseDown", button, shift, x, y);
    }
    void MouseMove(int16_t& button, int16_t& shift, float& x, float& y) override {
        Mouse("MouseMove", button, shift, x, y);
    }
    void MouseUp(int16_t& button, int16_t& shift, float& x, float& y) override {
        Mouse("MouseUp", button, shift, x, y);
    }

private:
    void Mouse(const char* name, int16_t& button, int16_t shift, float& x, float y) {
        log.push_back(std::string(name) + " " + std::to_string(button) + " " +
                      std::to_string(shift) + " " + std::to_string(static_cast<int>(x)) + " " +
                      std::to_string(static_cast<int>(y)));
        if (replaceButton) {
            button = *replaceButton;
        }
        if (replaceX) {
            x = *replaceX;
        }
    }
};

class FileNameBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        box.ReadProperties(PropertyBag{});
        host.changed.clear();
        events.log.clear();
    }

    // Sets the text the way a host does, then forgets the notifications that caused.
    void Enter(const std::u16string& text, int32_t mode = fnbmode::kSyntaxOnly) {
        box.SetMode(mode);
        box.SetText(text);
        host.changed.clear();
        events.log.clear();
        system.ClearMsgBoxes();
    }

    std::vector<Shown> Boxes() const {
        std::vector<Shown> boxes;
        for (const auto& call : system.MsgBoxes()) {
            boxes.push_back({call.text, call.caption.value_or(u"(none)"), call.style});
        }
        return boxes;
    }

    FakeSystem system;
    FakeHost host;
    FakeTextBox txtInput;
    RecordingEvents events;
    FileNameBox box{system, host, txtInput, &events};
};

} // namespace relingo::test
