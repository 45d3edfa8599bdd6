// The single-line text box a control is built around, and the notifications it sends.
#pragma once

#include "platform/HostServices.h"

#include <cstdint>
#include <string>
#include <vector>

namespace relingo {

// Notifications of a text box to its owner. Parameters are references: a change the owner
// makes (a key code set to 0, say) flows back into the text box.
class TextBoxEvents {
public:
    virtual ~TextBoxEvents() = default;
    virtual void OnChange() = 0;
    virtual void OnClick() = 0;
    virtual void OnDblClick() = 0;
    virtual void OnKeyDown(int16_t& keyCode, int16_t& shift) = 0;
    // keyAscii holds the typed UTF-16 code unit's bits; 0 discards the character.
    virtual void OnKeyPress(int16_t& keyAscii) = 0;
    virtual void OnKeyUp(int16_t& keyCode, int16_t& shift) = 0;
    // x and y are in the owner control's own scale.
    virtual void OnMouseDown(int16_t& button, int16_t& shift, float x, float y) = 0;
    virtual void OnMouseMove(int16_t& button, int16_t& shift, float x, float y) = 0;
    virtual void OnMouseUp(int16_t& button, int16_t& shift, float x, float y) = 0;
    // The focus has gone to another control of the same window. OnLostFocus follows once the
    // user's action that moved it (a click, a key) has been handled, unless the focus came back
    // first.
    virtual void OnLeave() = 0;
    virtual void OnLostFocus() = 0;
    // files is null for a drop that carries no file list.
    virtual void OnDropFiles(const std::vector<std::u16string>* files) = 0;
};

// Every setter may refuse its value by throwing relingo::Error.
class TextBox {
public:
    virtual ~TextBox() = default;

    virtual void SetEvents(TextBoxEvents* events) = 0;

    virtual std::u16string Text() const = 0;
    virtual void SetText(const std::u16string& text) = 0;
    virtual int32_t SelStart() const = 0;
    virtual void SetSelStart(int32_t start) = 0;
    virtual int32_t SelLength() const = 0;
    virtual void SetSelLength(int32_t length) = 0;
    virtual std::u16string SelText() const = 0;
    virtual void SetSelText(const std::u16string& text) = 0;

    virtual uint32_t BackColor() const = 0;
    virtual void SetBackColor(uint32_t color) = 0;
    virtual uint32_t ForeColor() const = 0;
    virtual void SetForeColor(uint32_t color) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual FontPtr GetFont() const = 0;
    virtual void SetFont(FontPtr font) = 0;
    virtual int16_t IMEMode() const = 0;
    virtual void SetIMEMode(int16_t mode) = 0;
    virtual int32_t MaxLength() const = 0;
    virtual void SetMaxLength(int32_t length) = 0;

    virtual void SetFocus() = 0;

    // Extent in the owner control's scale; the position stays at (0, 0).
    virtual float Width() const = 0;
    virtual float Height() const = 0;
    virtual void SetWidth(float width) = 0;
    virtual void SetHeight(float height) = 0;
};

} // namespace relingo
