// The test backend of the inner text box: an in-memory single-line box that behaves as the
// system's EDIT control does as far as the controls rely on it. Typing runs each character past
// the owner's key filter first and enters what comes back; the text changing raises Change
// (setting the same text again does not); refused property values fail as the real box's do.
// The owner's notifications run synchronously, inside the call that caused them.
#pragma once

#include "filenamebox/InnerBoxRules.h"
#include "platform/Error.h"
#include "platform/TextBox.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace relingo::test {

class FakeTextBox : public TextBox {
public:
    FakeTextBox() : font_(std::make_shared<Font>()) {}

    // ---- What the tests look at ----
    bool focused = false;
    int setFocusCalls = 0;
    int changes = 0; // Change notifications sent

    // The next property set (of any kind) fails with this error before changing anything.
    void FailNextSet(Error error) { failNextSet_ = std::move(error); }

    // ---- What a user does ----

    // Types the characters one by one, as WM_CHAR would deliver them: each goes through the
    // owner's KeyPress first; 0 back means the character is dropped. Backspace deletes; other
    // control characters and Enter are not entered (a single-line box beeps at Enter); a full
    // box (MaxLength reached) takes no more.
    void Type(std::u16string_view characters) {
        for (const char16_t c : characters) {
            auto keyAscii = static_cast<int16_t>(c);
            if (events_ != nullptr) {
                events_->OnKeyPress(keyAscii);
            }
            EnterTyped(static_cast<char16_t>(static_cast<uint16_t>(keyAscii)));
        }
    }
    // A key going down and up; returns the key code as the owner left it on the way down.
    int16_t PressKey(int16_t keyCode, int16_t shift = 0) {
        int16_t down = keyCode;
        int16_t downShift = shift;
        if (events_ != nullptr) {
            events_->OnKeyDown(down, downShift);
        }
        int16_t up = keyCode;
        int16_t upShift = shift;
        if (events_ != nullptr) {
            events_->OnKeyUp(up, upShift);
        }
        return down;
    }
    void Click() {
        if (events_ != nullptr) {
            events_->OnClick();
        }
    }
    void DblClick() {
        if (events_ != nullptr) {
            events_->OnDblClick();
        }
    }
    enum class Mouse { Down, Move, Up };
    // Returns the button as the owner left it.
    int16_t MouseEvent(Mouse what, int16_t button, int16_t shift, float x, float y) {
        if (events_ == nullptr) {
            return button;
        }
        switch (what) {
        case Mouse::Down:
            events_->OnMouseDown(button, shift, x, y);
            break;
        case Mouse::Move:
            events_->OnMouseMove(button, shift, x, y);
            break;
        case Mouse::Up:
            events_->OnMouseUp(button, shift, x, y);
            break;
        }
        return button;
    }
    void GainFocus() { focused = true; }
    // The focus moves elsewhere; the owner hears of it.
    void LoseFocus() {
        Leave();
        FinishLeaving();
    }
    // The two halves of a loss of focus: the move itself, and the end of the user's action that
    // moved it, between which the host may run handlers of its own (a button's click, say).
    void Leave() {
        focused = false;
        if (events_ != nullptr) {
            events_->OnLeave();
        }
    }
    void FinishLeaving() {
        if (events_ != nullptr) {
            events_->OnLostFocus();
        }
    }
    void DropFiles(const std::vector<std::u16string>* files) {
        if (events_ != nullptr) {
            events_->OnDropFiles(files);
        }
    }

    // ---- TextBox ----

    void SetEvents(TextBoxEvents* events) override { events_ = events; }

    std::u16string Text() const override { return text_; }
    // The caret goes to the start, as after WM_SETTEXT; the length limit applies to typing only.
    void SetText(const std::u16string& text) override {
        CheckScriptedFailure();
        if (text == text_) {
            return;
        }
        text_ = text;
        selStart_ = 0;
        selLength_ = 0;
        NotifyChange();
    }
    int32_t SelStart() const override { return static_cast<int32_t>(selStart_); }
    void SetSelStart(int32_t start) override {
        CheckScriptedFailure();
        RequireNotNegative(start);
        selStart_ = std::min(static_cast<size_t>(start), text_.size());
        selLength_ = 0;
    }
    int32_t SelLength() const override { return static_cast<int32_t>(selLength_); }
    void SetSelLength(int32_t length) override {
        CheckScriptedFailure();
        RequireNotNegative(length);
        selLength_ = std::min(static_cast<size_t>(length), text_.size() - selStart_);
    }
    std::u16string SelText() const override { return text_.substr(selStart_, selLength_); }
    void SetSelText(const std::u16string& text) override {
        CheckScriptedFailure();
        ReplaceSelection(text);
    }

    uint32_t BackColor() const override { return backColor_; }
    void SetBackColor(uint32_t color) override {
        CheckScriptedFailure();
        RequireValidOleColor(color);
        backColor_ = color;
    }
    uint32_t ForeColor() const override { return foreColor_; }
    void SetForeColor(uint32_t color) override {
        CheckScriptedFailure();
        RequireValidOleColor(color);
        foreColor_ = color;
    }
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override {
        CheckScriptedFailure();
        enabled_ = enabled;
    }
    FontPtr GetFont() const override { return font_; }
    void SetFont(FontPtr font) override {
        CheckScriptedFailure();
        RequireFont(font);
        font_ = std::move(font);
    }
    int16_t IMEMode() const override { return imeMode_; }
    void SetIMEMode(int16_t mode) override {
        CheckScriptedFailure();
        RequireValidIMEMode(mode);
        imeMode_ = mode;
    }
    int32_t MaxLength() const override { return maxLength_; }
    void SetMaxLength(int32_t length) override {
        CheckScriptedFailure();
        RequireNotNegative(length);
        maxLength_ = length;
    }

    void SetFocus() override {
        ++setFocusCalls;
        focused = true;
    }

    float Width() const override { return width_; }
    float Height() const override { return height_; }
    void SetWidth(float width) override { width_ = width; }
    void SetHeight(float height) override { height_ = height; }

private:
    void CheckScriptedFailure() {
        if (failNextSet_) {
            const Error error = *failNextSet_;
            failNextSet_.reset();
            throw error;
        }
    }
    void NotifyChange() {
        ++changes;
        if (events_ != nullptr) {
            events_->OnChange();
        }
    }
    void ReplaceSelection(std::u16string_view text) {
        const std::u16string before = text_;
        text_.replace(selStart_, selLength_, text);
        selStart_ += text.size();
        selLength_ = 0;
        if (text_ != before) {
            NotifyChange();
        }
    }
    void EnterTyped(char16_t c) {
        constexpr char16_t kBackspace = 8;
        if (c == kBackspace) {
            if (selLength_ == 0 && selStart_ > 0) {
                --selStart_;
                selLength_ = 1;
            }
            ReplaceSelection(u"");
            return;
        }
        if (c < 0x20) {
            return; // Enter, Ctrl+letter and the like enter nothing
        }
        const size_t kept = text_.size() - selLength_;
        if (maxLength_ > 0 && kept >= static_cast<size_t>(maxLength_)) {
            return;
        }
        ReplaceSelection(std::u16string(1, c));
    }

    TextBoxEvents* events_ = nullptr;
    std::u16string text_;
    size_t selStart_ = 0;
    size_t selLength_ = 0;
    uint32_t backColor_ = olecolor::kWindowBackground;
    uint32_t foreColor_ = olecolor::kWindowText;
    bool enabled_ = true;
    FontPtr font_;
    int16_t imeMode_ = 0;
    int32_t maxLength_ = 0;
    float width_ = 0;
    float height_ = 0;
    std::optional<Error> failNextSet_;
};

} // namespace relingo::test
