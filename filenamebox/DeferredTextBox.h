// The inner box of a name box whose window is made only when something needs it. Until it is
// given the real box (the EDIT of that window) it keeps the state in a MemoryTextBox; Attach
// moves that state across, and from then on every member goes to the real box, until Detach
// takes the state back into memory before the real box goes. The name box works over this one
// box throughout and never sees the change.
#pragma once

#include "filenamebox/MemoryTextBox.h"
#include "platform/TextBox.h"

#include <functional>

namespace relingo {

class DeferredTextBox final : public TextBox {
public:
    // font, width and height: what the box starts with, as for MemoryTextBox. needReal is
    // called when a member cannot do without the real box (taking the focus); it is to Attach
    // one.
    DeferredTextBox(FontPtr font, float width, float height, std::function<void()> needReal = {});

    bool Attached() const { return real_ != nullptr; }
    // Moves the state into real, a box as it is when new, and forwards to it from now on. The
    // move raises no notification: the text arriving in the window is no change of the text.
    // When the move fails the box stays in memory, as it was. real must stay until Detach.
    void Attach(TextBox& real);
    // Takes the state of the real box back into memory, again without a notification, and
    // forgets the real box.
    void Detach();

    // ---- TextBox ----
    void SetEvents(TextBoxEvents* events) override;
    std::u16string Text() const override { return Current().Text(); }
    void SetText(const std::u16string& text) override { Current().SetText(text); }
    int32_t SelStart() const override { return Current().SelStart(); }
    void SetSelStart(int32_t start) override { Current().SetSelStart(start); }
    int32_t SelLength() const override { return Current().SelLength(); }
    void SetSelLength(int32_t length) override { Current().SetSelLength(length); }
    std::u16string SelText() const override { return Current().SelText(); }
    void SetSelText(const std::u16string& text) override { Current().SetSelText(text); }
    uint32_t BackColor() const override { return Current().BackColor(); }
    void SetBackColor(uint32_t color) override { Current().SetBackColor(color); }
    uint32_t ForeColor() const override { return Current().ForeColor(); }
    void SetForeColor(uint32_t color) override { Current().SetForeColor(color); }
    bool Enabled() const override { return Current().Enabled(); }
    void SetEnabled(bool enabled) override { Current().SetEnabled(enabled); }
    FontPtr GetFont() const override { return Current().GetFont(); }
    void SetFont(FontPtr font) override { Current().SetFont(std::move(font)); }
    int16_t IMEMode() const override { return Current().IMEMode(); }
    void SetIMEMode(int16_t mode) override { Current().SetIMEMode(mode); }
    int32_t MaxLength() const override { return Current().MaxLength(); }
    void SetMaxLength(int32_t length) override;
    void SetFocus() override;
    float Width() const override { return Current().Width(); }
    float Height() const override { return Current().Height(); }
    void SetWidth(float width) override { Current().SetWidth(width); }
    void SetHeight(float height) override { Current().SetHeight(height); }

private:
    TextBox& Current() { return real_ != nullptr ? *real_ : static_cast<TextBox&>(memory_); }
    const TextBox& Current() const {
        return real_ != nullptr ? *real_ : static_cast<const TextBox&>(memory_);
    }

    MemoryTextBox memory_;
    TextBox* real_ = nullptr;
    TextBoxEvents* events_ = nullptr;
    // A box new from the system keeps a limit of its own until a MaxLength is given.
    bool maxLengthGiven_ = false;
    std::function<void()> needReal_;
};

} // namespace relingo
