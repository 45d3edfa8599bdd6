// The control host of a running Windows program: ambient properties of the user's session, a
// control scale of pixels converted at the window's dots per inch, and the window's own extent.
#pragma once

#include <windows.h>

#include "platform/HostServices.h"
#include "platform/win32/RunTimeFunctions.h"

namespace relingo::win32 {

class Win32ControlHost : public ControlHost {
public:
    // window: the control's (or container's) window, whose extent and dots per inch the host
    // reports; it may be given later. ambientFont: the container's font; without one, the
    // system's message font. dpi: where the dots per inch come from.
    explicit Win32ControlHost(HWND window = nullptr, FontPtr ambientFont = nullptr,
                              const DpiFunctions& dpi = DpiFunctions::OfSystem());
    // The site of a control inside a container: the ambient properties, the scale conversion
    // and the change notification are the container's; the extent and the repaint are the
    // control's own window's, when it has one. The container must outlive the site.
    static Win32ControlHost SiteIn(ControlHost& container,
                                   const DpiFunctions& dpi = DpiFunctions::OfSystem()) {
        return Win32ControlHost(container, dpi);
    }
    Win32ControlHost(const Win32ControlHost&) = delete;
    Win32ControlHost& operator=(const Win32ControlHost&) = delete;

    void SetWindow(HWND window) { window_ = window; }
    HWND Window() const { return window_; }
    void SetAmbientFont(FontPtr font);
    // How many property changes have been reported; nothing at run time saves them.
    int PropertyChanges() const { return propertyChanges_; }

    void PropertyChanged(std::u16string_view propertyName) override;
    // The user's locale, as the program's windows use it.
    int32_t AmbientLocaleID() override;
    // A finished program always runs in user mode.
    bool AmbientUserMode() override;
    FontPtr AmbientFont() override;
    // Controls measure in pixels; the container's positions are in twips.
    int16_t ScaleMode() override { return scale::kPixels; }
    float ScaleX(float value, int16_t fromScale, int16_t toScale) override;
    float ScaleY(float value, int16_t fromScale, int16_t toScale) override;
    float ControlWidth() override;
    float ControlHeight() override;
    void SetControlSize(float width, float height) override;
    void Refresh() override;

private:
    Win32ControlHost(ControlHost& container, const DpiFunctions& dpi)
        : container_(&container), dpi_(dpi) {}

    HWND window_ = nullptr;
    ControlHost* container_ = nullptr;
    const DpiFunctions& dpi_;
    FontPtr ambientFont_;
    int propertyChanges_ = 0;
};

// The system's message font, the font dialogs and message boxes use.
FontPtr SystemMessageFont(const DpiFunctions& dpi = DpiFunctions::OfSystem());

} // namespace relingo::win32
