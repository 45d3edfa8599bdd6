#include "filenamebox/win32/Win32ControlHost.h"

#include "filenamebox/win32/GdiFont.h"
#include "platform/Scale.h"

#include <cmath>

namespace relingo::win32 {

FontPtr SystemMessageFont(const DpiFunctions& dpi) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return std::make_shared<Font>();
    }
    return std::make_shared<Font>(FromLogFont(metrics.lfMessageFont, dpi.ForSystem()));
}

Win32ControlHost::Win32ControlHost(HWND window, FontPtr ambientFont, const DpiFunctions& dpi)
    : window_(window), dpi_(dpi),
      ambientFont_(ambientFont ? std::move(ambientFont) : SystemMessageFont(dpi)) {}

void Win32ControlHost::SetAmbientFont(FontPtr font) {
    ambientFont_ = font ? std::move(font) : SystemMessageFont(dpi_);
}

void Win32ControlHost::PropertyChanged(std::u16string_view propertyName) {
    ++propertyChanges_;
    if (container_ != nullptr) {
        container_->PropertyChanged(propertyName);
    }
}

int32_t Win32ControlHost::AmbientLocaleID() {
    return container_ != nullptr ? container_->AmbientLocaleID()
                                 : static_cast<int32_t>(::GetUserDefaultLCID());
}

bool Win32ControlHost::AmbientUserMode() {
    return container_ != nullptr ? container_->AmbientUserMode() : true;
}

FontPtr Win32ControlHost::AmbientFont() {
    return container_ != nullptr ? container_->AmbientFont() : ambientFont_;
}

float Win32ControlHost::ScaleX(float value, int16_t fromScale, int16_t toScale) {
    return container_ != nullptr
               ? container_->ScaleX(value, fromScale, toScale)
               : ConvertScale(value, fromScale, toScale, dpi_.ForWindow(window_), false);
}

float Win32ControlHost::ScaleY(float value, int16_t fromScale, int16_t toScale) {
    return container_ != nullptr
               ? container_->ScaleY(value, fromScale, toScale)
               : ConvertScale(value, fromScale, toScale, dpi_.ForWindow(window_), true);
}

float Win32ControlHost::ControlWidth() {
    RECT client = {};
    if (window_ == nullptr || !::GetClientRect(window_, &client)) {
        return 0;
    }
    return static_cast<float>(client.right - client.left);
}

float Win32ControlHost::ControlHeight() {
    RECT client = {};
    if (window_ == nullptr || !::GetClientRect(window_, &client)) {
        return 0;
    }
    return static_cast<float>(client.bottom - client.top);
}

void Win32ControlHost::SetControlSize(float width, float height) {
    if (window_ != nullptr) {
        ::SetWindowPos(window_, nullptr, 0, 0, static_cast<int>(std::lround(width)),
                       static_cast<int>(std::lround(height)),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32ControlHost::Refresh() {
    if (window_ != nullptr) {
        ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
    }
}

} // namespace relingo::win32
