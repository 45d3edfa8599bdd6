// The inner text box of a name box that has no window yet: the state the box's EDIT would hold,
// kept in memory and changed by the EDIT's own rules, so that a box that gets its window later
// is the box it would have been in one all along. Each rule is the one the system's EDIT follows
// as EditTextBox drives it (the window tests hold the two together).
#pragma once

#include "platform/TextBox.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace relingo {

class MemoryTextBox final : public TextBox {
public:
    // font: the font the box starts with (a default one when null); width and height: its
    // extent in pixels.
    explicit MemoryTextBox(FontPtr font, float width = 0, float height = 0);

    // ---- TextBox ----
    void SetEvents(TextBoxEvents* events) override { events_ = events; }
    std::u16string Text() const override { return text_; }
    void SetText(const std::u16string& text) override;
    int32_t SelStart() const override { return static_cast<int32_t>(selStart_); }
    void SetSelStart(int32_t start) override;
    int32_t SelLength() const override { return static_cast<int32_t>(selEnd_ - selStart_); }
    void SetSelLength(int32_t length) override;
    std::u16string SelText() const override;
    void SetSelText(const std::u16string& text) override;
    uint32_t BackColor() const override { return backColor_; }
    void SetBackColor(uint32_t color) override;
    uint32_t ForeColor() const override { return foreColor_; }
    void SetForeColor(uint32_t color) override;
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    FontPtr GetFont() const override { return font_; }
    void SetFont(FontPtr font) override;
    int16_t IMEMode() const override { return imeMode_; }
    void SetIMEMode(int16_t mode) override;
    int32_t MaxLength() const override { return maxLength_; }
    void SetMaxLength(int32_t length) override;
    // Without a window there is nothing to take the focus.
    void SetFocus() override {}
    float Width() const override { return static_cast<float>(width_); }
    float Height() const override { return static_cast<float>(height_); }
    void SetWidth(float width) override;
    void SetHeight(float height) override;

private:
    void NotifyChange();

    TextBoxEvents* events_ = nullptr;
    std::u16string text_;
    size_t selStart_ = 0;
    size_t selEnd_ = 0;
    uint32_t backColor_ = olecolor::kWindowBackground;
    uint32_t foreColor_ = olecolor::kWindowText;
    bool enabled_ = true;
    FontPtr font_;
    int16_t imeMode_ = 0;
    int32_t maxLength_ = 0;
    // Of text put in by SelText, in UTF-16 units: until a MaxLength is set, the one an EDIT is
    // made with, which MaxLength 0 lifts.
    size_t limit_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace relingo
