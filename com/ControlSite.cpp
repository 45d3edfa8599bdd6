#include "com/ControlSite.h"

#include "com/Bstr.h"
#include "com/OleFont.h"
#include "filenamebox/win32/Win32ControlHost.h"
#include "platform/Scale.h"
#include "platform/win32/RunTimeFunctions.h"

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

HWND ControlSite::ContainerRoot() const {
    const HWND container = ContainerWindow();
    return container != nullptr ? ::GetAncestor(container, GA_ROOT) : nullptr;
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

float ControlSite::ScaleX(float value, int16_t fromScale, int16_t toScale) {
    return ConvertScale(value, fromScale, toScale, win32::DpiFunctions::OfSystem().ForSystem(),
                        false);
}

float ControlSite::ScaleY(float value, int16_t fromScale, int16_t toScale) {
    return ConvertScale(value, fromScale, toScale, win32::DpiFunctions::OfSystem().ForSystem(),
                        true);
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
