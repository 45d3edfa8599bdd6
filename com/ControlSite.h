// The host services of a control in a COM container, taken from the container's client site:
// the ambient properties through the site's ambient dispatch, read at every use; the change
// notification, the extent and the repaint through the control that owns the site. Without a
// site, as for an object a script made with CreateObject, the control runs as at run time with
// the user's default locale.
#pragma once

#include <windows.h>

#include <ocidl.h>
#include <wrl/client.h>

#include "platform/HostServices.h"

#include <string_view>

namespace relingo::com {

using Microsoft::WRL::ComPtr;

// What the site asks of the control that owns it.
class SiteOwner {
public:
    virtual ~SiteOwner() = default;
    // The control's property of that name changed: it is dirty, and the container is told.
    virtual void OnPropertyChanged(std::u16string_view name) = 0;
    // The control's extent in pixels, and a change of it the control asks for itself.
    virtual SIZE ExtentPixels() = 0;
    virtual void SetExtentPixels(SIZE size) = 0;
    virtual void Repaint() = 0;
};

class ControlSite final : public ControlHost {
public:
    explicit ControlSite(SiteOwner& owner) : owner_(owner) {}

    void SetClientSite(IOleClientSite* site) { site_ = site; }
    IOleClientSite* ClientSite() const { return site_.Get(); }
    bool HasSite() const { return site_ != nullptr; }
    // The container's window: its in-place window, or the window its site names; null without.
    HWND ContainerWindow() const;
    // The top-level window that holds the container's window, which owns the control's boxes and
    // dialogs; null without a container.
    HWND ContainerRoot() const;

    void PropertyChanged(std::u16string_view propertyName) override;
    int32_t AmbientLocaleID() override;
    bool AmbientUserMode() override;
    FontPtr AmbientFont() override;
    // The control measures in pixels; the container's positions, as in the program's own window,
    // are in twips.
    int16_t ScaleMode() override { return scale::kPixels; }
    float ScaleX(float value, int16_t fromScale, int16_t toScale) override;
    float ScaleY(float value, int16_t fromScale, int16_t toScale) override;
    float ControlWidth() override;
    float ControlHeight() override;
    void SetControlSize(float width, float height) override;
    void Refresh() override;

private:
    // The ambient property's value, or false when the container has none to give.
    bool ReadAmbient(DISPID id, VARIANT& value) const;

    SiteOwner& owner_;
    ComPtr<IOleClientSite> site_;
};

} // namespace relingo::com
