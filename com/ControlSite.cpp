#include "com/ControlSite.h"

#include "com/Bstr.h"
#include "com/OleFont.h"
#include "filenamebox/win32/Win32ControlHost.h"
#include "platform/Scale.h"

#include <cmath>

namespace relingo::com {

HWND ControlSite::ContainerWindow() const {
    if (!site_) {
        return nullptr;
    }
    ComPtr<IOleWindow> window;
    HWND handle = nullptr;
    if (SUCCEEDED(site_.As(&window)) && SUCCEEDED(window->GetWindow(&handle))) {
        return handle;
    }
    return nullptr;
}

bool ControlSite::ReadAmbient(DISPID id, VARIANT& value) const {
    ComPtr<IDispatch> ambient;
    if (!site_ || FAILED(site_.As(&ambient))) {
        return false;
    }
    DISPPARAMS none = {};
    return SUCCEEDED(ambient->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                     &value, nullptr, nullptr));
}

void ControlSite::PropertyChanged(std::u16string_view propertyName) {
    owner_.OnPropertyChanged(propertyName);
}

int32_t ControlSite::AmbientLocaleID() {
    UniqueVariant value;
    if (ReadAmbient(DISPID_AMBIENT_LOCALEID, *value.Get()) &&
        SUCCEEDED(::VariantChangeType(value.Get(), value.Get(), 0, VT_I4))) {
        return value->lVal;
    }
    return static_cast<int32_t>(::GetUserDefaultLCID());
}

bool ControlSite::AmbientUserMode() {
    UniqueVariant value;
    if (ReadAmbient(DISPID_AMBIENT_USERMODE, *value.Get()) &&
        SUCCEEDED(::VariantChangeType(value.Get(), value.Get(), 0, VT_BOOL))) {
        return value->boolVal != VARIANT_FALSE;
    }
    return true;
}

FontPtr ControlSite::AmbientFont() {
    UniqueVariant value;
    if (ReadAmbient(DISPID_AMBIENT_FONT, *value.Get()) &&
        (value->vt == VT_DISPATCH || value->vt == VT_UNKNOWN) && value->punkVal != nullptr) {
        try {
            return std::make_shared<Font>(ReadOleFont(value->punkVal));
        } catch (...) {
            // A font the container gives but cannot describe: the system's stands in.
        }
    }
    return win32::SystemMessageFont();
}

UINT ControlSite::Dpi() const {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) {
        ::ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

float ControlSite::ScaleX(float value, int16_t fromScale, int16_t toScale) {
    return ConvertScale(value, fromScale, toScale, Dpi(), false);
}

float ControlSite::ScaleY(float value, int16_t fromScale, int16_t toScale) {
    return ConvertScale(value, fromScale, toScale, Dpi(), true);
}

float ControlSite::ControlWidth() {
    return static_cast<float>(owner_.ExtentPixels().cx);
}

float ControlSite::ControlHeight() {
    return static_cast<float>(owner_.ExtentPixels().cy);
}

void ControlSite::SetControlSize(float width, float height) {
    owner_.SetExtentPixels(
        {static_cast<LONG>(std::lround(width)), static_cast<LONG>(std::lround(height))});
}

void ControlSite::Refresh() {
    owner_.Repaint();
}

} // namespace relingo::com
