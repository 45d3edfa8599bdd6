// The control host of a running Windows program: ambient properties of the user's session, a
// control scale of pixels converted at the window's dots per inch, and the window's own extent.
#pragma once

#include <windows.h>

#include "platform/HostServices.h"

namespace relingo::win32 {

class Win32ControlHost : public ControlHost {
public:
    // window: the control's (or container's) window, whose extent and dots per inch the host
    // reports; it may be given later. ambientFont: the container's font; without one, the
    // system's message font.
    explicit Win32ControlHost(HWND window = nullptr, FontPtr ambientFont = nullptr);

    void SetWindow(HWND window) { window_ = window; }
    HWND Window() const { return window_; }
    void SetAmbientFont(FontPtr font);
    // How many property changes have been reported; nothing at run time saves them.
    int PropertyChanges() const { return propertyChanges_; }

    void PropertyChanged(std::u16string_view propertyName) override;
    // The user's locale, as the program's windows use it.
    int32_t AmbientLocaleID() override;
    // A finished program always runs in user mode.
    bool AmbientUserMode() override { return true; }
    FontPtr AmbientFont() override { return ambientFont_; }
    // Controls measure in pixels; the container's positions are in twips.
    int16_t ScaleMode() override { return scale::kPixels; }
    float ScaleX(float value, int16_t fromScale, int16_t toScale) override;
    float ScaleY(float value, int16_t fromScale, int16_t toScale) override;
    float ControlWidth() override;
    float ControlHeight() override;
    void SetControlSize(float width, float height) override;
    void Refresh() override;

private:
    HWND window_;
    FontPtr ambientFont_;
    int propertyChanges_ = 0;
};

// The system's message font, the font dialogs and message boxes use.
FontPtr SystemMessageFont();

// Converts a measure between scale codes at the given dots per inch; the container's scales
// (9 and 10) are twips. Fails with error 5 for a scale it does not know.
float ConvertScale(float value, int16_t fromScale, int16_t toScale, UINT dpi, bool vertical);

} // namespace relingo::win32
