#include "filenamebox/win32/Win32ControlHost.h"

#include "filenamebox/win32/GdiFont.h"
#include "platform/Error.h"

#include <cmath>

namespace relingo::win32 {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kPointsPerInch = 72.0;
constexpr double kMillimetersPerInch = 25.4;
constexpr double kCentimetersPerInch = 2.54;
// A character cell of the character scale: 120 twips wide, 240 twips high.
constexpr double kCharactersPerInchX = 12.0;
constexpr double kCharactersPerInchY = 6.0;
constexpr int16_t kCharacters = 4;

double UnitsPerInch(int16_t scaleCode, UINT dpi, bool vertical) {
    switch (scaleCode) {
    case scale::kTwips:
    case scale::kContainerPosition:
    case scale::kContainerSize:
        return kTwipsPerInch;
    case scale::kPoints:
        return kPointsPerInch;
    case scale::kPixels:
        return dpi;
    case kCharacters:
        return vertical ? kCharactersPerInchY : kCharactersPerInchX;
    case scale::kInches:
        return 1.0;
    case scale::kMillimeters:
        return kMillimetersPerInch;
    case scale::kCentimeters:
        return kCentimetersPerInch;
    default:
        throw Error(errnum::kInvalidProcedureCall);
    }
}

} // namespace

float ConvertScale(float value, int16_t fromScale, int16_t toScale, UINT dpi, bool vertical) {
    const double from = UnitsPerInch(fromScale, dpi, vertical);
    const double to = UnitsPerInch(toScale, dpi, vertical);
    return static_cast<float>(value * to / from);
}

FontPtr SystemMessageFont() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return std::make_shared<Font>();
    }
    return std::make_shared<Font>(FromLogFont(metrics.lfMessageFont, DpiOf(nullptr)));
}

Win32ControlHost::Win32ControlHost(HWND window, FontPtr ambientFont)
    : window_(window), ambientFont_(ambientFont ? std::move(ambientFont) : SystemMessageFont()) {}

void Win32ControlHost::SetAmbientFont(FontPtr font) {
    ambientFont_ = font ? std::move(font) : SystemMessageFont();
}

void Win32ControlHost::PropertyChanged(std::u16string_view) {
    ++propertyChanges_;
}

int32_t Win32ControlHost::AmbientLocaleID() {
    return static_cast<int32_t>(::GetUserDefaultLCID());
}

float Win32ControlHost::ScaleX(float value, int16_t fromScale, int16_t toScale) {
    return ConvertScale(value, fromScale, toScale, DpiOf(window_), false);
}

float Win32ControlHost::ScaleY(float value, int16_t fromScale, int16_t toScale) {
    return ConvertScale(value, fromScale, toScale, DpiOf(window_), true);
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
