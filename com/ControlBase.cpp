#include "com/ControlBase.h"

#include "com/Bstr.h"
#include "com/ComErrors.h"
#include "com/ComObject.h"
#include "com/InPlaceClip.h"
#include "com/KeyTranslation.h"
#include "com/TypeLibrary.h"
#include "platform/Error.h"
#include "platform/win32/RunTimeFunctions.h"

#include <ole2.h>

#include <cmath>
#include <string>

namespace relingo::com {

namespace {

constexpr long kHimetricPerInch = 2540;

// HIMETRIC and pixels are converted at the system's dots per inch, as containers convert them.
UINT ScreenDpi() {
    return win32::DpiFunctions::OfSystem().ForSystem();
}

// Whether the window already has the place, in its parent's client area.
bool IsAt(HWND window, const RECT& position) {
    RECT current = {};
    ::GetWindowRect(window, &current);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&current), 2);
    return ::EqualRect(&current, &position) != FALSE;
}

LONG PixelsToHimetric(LONG pixels, UINT dpi) {
    return ::MulDiv(pixels, kHimetricPerInch, static_cast<int>(dpi));
}

LONG HimetricToPixels(LONG himetric, UINT dpi) {
    return ::MulDiv(himetric, static_cast<int>(dpi), kHimetricPerInch);
}

} // namespace

ControlBase::ControlBase(const ControlClass& kind)
    : kind_(kind), site_(*this), propertyNotify_(*this, IID_IPropertyNotifySink) {
    if (kind_.events != nullptr) {
        events_.emplace(*this, *kind_.events);
    }
    const UINT dpi = ScreenDpi();
    extent_ = {PixelsToHimetric(kind_.defaultPixels.cx, dpi),
               PixelsToHimetric(kind_.defaultPixels.cy, dpi)};
}

ControlBase::~ControlBase() = default;

void* ControlBase::FindControlInterface(REFIID iid) {
    if (iid == IID_IOleWindow) {
        return static_cast<IOleInPlaceObject*>(this);
    }
    if (iid == IID_IViewObject) {
        return static_cast<IViewObject2*>(this);
    }
    if (iid == IID_IPersist) {
        return static_cast<IPersistStreamInit*>(this);
    }
    if (iid == IID_IProvideClassInfo) {
        return static_cast<IProvideClassInfo2*>(this);
    }
    return Interfaces<IOleObject, IOleInPlaceObject, IOleInPlaceActiveObject, IOleControl,
                      IViewObject2, IPersistPropertyBag, IPersistStreamInit, IPersistStorage,
                      IDataObject, IConnectionPointContainer, IProvideClassInfo2, ISupportErrorInfo,
                      IQuickActivate>::Find(this, iid);
}

int32_t ControlBase::ErrorLocale() noexcept {
    try {
        return site_.AmbientLocaleID();
    } catch (...) {
        return static_cast<int32_t>(::GetUserDefaultLCID());
    }
}

HRESULT ControlBase::Member(const std::function<void()>& body) noexcept {
    return Guarded(
        kind_.dual, [this] { return ErrorLocale(); },
        [&] {
            EnsureInitialised();
            body();
        });
}

HRESULT ControlBase::ReadText(BSTR* result, const std::function<std::u16string()>& read) noexcept {
    if (result == nullptr) {
        return E_POINTER;
    }
    *result = nullptr;
    return Member([&] { *result = ToBstr(read()); });
}

HRESULT ControlBase::ReadBoolean(VARIANT_BOOL* result, const std::function<bool()>& read) noexcept {
    if (result == nullptr) {
        return E_POINTER;
    }
    *result = VARIANT_FALSE;
    return Member([&] { *result = read() ? VARIANT_TRUE : VARIANT_FALSE; });
}

void ControlBase::EnsureInitialised() {
    if (!initialised_) {
        initialised_ = true;
        ReadProperties(PropertyBag());
    }
}

HRESULT ControlBase::Persist(const std::function<void()>& body) noexcept {
    return Guarded(
        kind_.dual, [this] { return ErrorLocale(); }, body);
}

void ControlBase::FireEvent(DISPID id, VARIANTARG* argumentsLastFirst, UINT count) {
    if (!events_ || frozenEvents_ > 0) {
        return;
    }
    // A handler may let the control go; it stays until the event is over.
    const ComPtr<IUnknown> keep(Identity());
    DISPPARAMS params = {argumentsLastFirst, nullptr, count, 0};
    events_->ForEach<IDispatch>([&](IDispatch& sink) {
        sink.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                    nullptr);
    });
}

// ---- IOleObject ----

STDMETHODIMP ControlBase::SetClientSite(IOleClientSite* site) {
    if (site == nullptr) {
        InPlaceDeactivate();
    }
    site_.SetClientSite(site);
    return S_OK;
}

STDMETHODIMP ControlBase::GetClientSite(IOleClientSite** site) {
    if (site == nullptr) {
        return E_POINTER;
    }
    *site = site_.ClientSite();
    if (*site != nullptr) {
        (*site)->AddRef();
    }
    return S_OK;
}

STDMETHODIMP ControlBase::Close(DWORD saveOption) {
    InPlaceDeactivate();
    if (dirty_ && site_.HasSite() &&
        (saveOption == OLECLOSE_SAVEIFDIRTY || saveOption == OLECLOSE_PROMPTSAVE)) {
        site_.ClientSite()->SaveObject();
    }
    if (adviseHolder_) {
        adviseHolder_->SendOnClose();
    }
    return S_OK;
}

STDMETHODIMP ControlBase::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker != nullptr) {
        *moniker = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP ControlBase::GetClipboardData(DWORD, IDataObject** data) {
    if (data != nullptr) {
        *data = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP ControlBase::DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND,
                                 LPCRECT) {
    if (!site_.HasSite() && activeSite != nullptr) {
        site_.SetClientSite(activeSite);
    }
    // Containers show their controls with SHOW (MFC's sites and WinForms do as a form appears):
    // the control is shown, and the focus stays where the user left it. PRIMARY, the user's
    // double click, and UIACTIVATE bring it into use.
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_UIACTIVATE:
        return InPlaceActivate(true);
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
        return InPlaceActivate(false);
    case OLEIVERB_HIDE:
        UIDeactivate();
        if (window_ != nullptr) {
            ::ShowWindow(window_, SW_HIDE);
        }
        return S_OK;
    case OLEIVERB_DISCARDUNDOSTATE:
        return S_OK;
    default:
        return verb > 0 ? OLEOBJ_S_INVALIDVERB : E_NOTIMPL;
    }
}

STDMETHODIMP ControlBase::EnumVerbs(IEnumOLEVERB** verbs) {
    if (verbs != nullptr) {
        *verbs = nullptr;
    }
    return OLE_S_USEREG;
}

STDMETHODIMP ControlBase::GetUserClassID(CLSID* clsid) {
    return GetClassID(clsid);
}

STDMETHODIMP ControlBase::GetUserType(DWORD, LPOLESTR* type) {
    if (type != nullptr) {
        *type = nullptr;
    }
    return OLE_S_USEREG;
}

STDMETHODIMP ControlBase::SetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) {
        return DV_E_DVASPECT;
    }
    if (size == nullptr) {
        return E_POINTER;
    }
    extent_ = *size;
    return Persist([this] { OnExtentChanged(); });
}

STDMETHODIMP ControlBase::GetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) {
        return DV_E_DVASPECT;
    }
    if (size == nullptr) {
        return E_POINTER;
    }
    *size = extent_;
    return S_OK;
}

STDMETHODIMP ControlBase::Advise(IAdviseSink* sink, DWORD* connection) {
    if (!adviseHolder_ && FAILED(::CreateOleAdviseHolder(&adviseHolder_))) {
        return E_OUTOFMEMORY;
    }
    return adviseHolder_->Advise(sink, connection);
}

STDMETHODIMP ControlBase::Unadvise(DWORD connection) {
    return adviseHolder_ ? adviseHolder_->Unadvise(connection) : OLE_E_NOCONNECTION;
}

STDMETHODIMP ControlBase::EnumAdvise(IEnumSTATDATA** advises) {
    if (advises == nullptr) {
        return E_POINTER;
    }
    *advises = nullptr;
    return adviseHolder_ ? adviseHolder_->EnumAdvise(advises) : S_OK;
}

STDMETHODIMP ControlBase::GetMiscStatus(DWORD, DWORD* status) {
    if (status == nullptr) {
        return E_POINTER;
    }
    *status = kind_.miscStatus;
    return S_OK;
}

// ---- In-place activation ----

// The container's handlers run inside each call to its site and may deactivate the control, or
// let it go: what follows such a call looks again at where the control stands, and the control
// is held until the end.
HRESULT ControlBase::InPlaceActivate(bool uiActivate) {
    if (!site_.HasSite()) {
        return E_UNEXPECTED;
    }
    const HRESULT loaded = Persist([this] { EnsureInitialised(); });
    if (FAILED(loaded)) {
        return loaded;
    }
    const ComPtr<IUnknown> keep(Identity());
    if (!inPlaceActive_) {
        const HRESULT entered = EnterInPlace();
        if (FAILED(entered)) {
            return entered;
        }
    }
    if (window_ != nullptr && !::IsWindowVisible(window_)) {
        ::ShowWindow(window_, SW_SHOWNA);
    }
    if (uiActivate && !uiActive_ && window_ != nullptr) {
        EnterUI();
    }
    return S_OK;
}

HRESULT ControlBase::EnterInPlace() {
    ComPtr<IOleInPlaceSite> site;
    if (FAILED(site_.ClientSite()->QueryInterface(IID_IOleInPlaceSite,
                                                  reinterpret_cast<void**>(site.GetAddressOf())))) {
        return E_NOINTERFACE;
    }
    if (site->CanInPlaceActivate() != S_OK) {
        return E_FAIL;
    }
    site->OnInPlaceActivate();
    HWND parent = nullptr;
    RECT position = {};
    RECT clip = {};
    OLEINPLACEFRAMEINFO frameInfo = {};
    frameInfo.cb = sizeof frameInfo;
    if (FAILED(site->GetWindow(&parent)) ||
        FAILED(site->GetWindowContext(&frame_, &document_, &position, &clip, &frameInfo))) {
        site->OnInPlaceDeactivate();
        frame_.Reset();
        document_.Reset();
        return E_FAIL;
    }
    inPlaceSite_ = site;
    inPlaceActive_ = true;
    const HRESULT shown = Persist([&] { window_ = ShowInPlace(parent, position); });
    if (FAILED(shown)) {
        InPlaceDeactivate();
        return shown;
    }
    if (window_ != nullptr) {
        ClipWindow(window_, position, &clip, clipped_);
    }
    return S_OK;
}

void ControlBase::EnterUI() {
    uiActive_ = true;
    inPlaceSite_->OnUIActivate();
    if (!uiActive_) {
        return; // the container took the control out again meanwhile
    }
    auto* active = static_cast<IOleInPlaceActiveObject*>(this);
    if (frame_) {
        frame_->SetActiveObject(active, nullptr);
    }
    if (document_) {
        document_->SetActiveObject(active, nullptr);
    }
    const HWND focus = ::GetFocus();
    if (uiActive_ && window_ != nullptr && focus != window_ && !::IsChild(window_, focus)) {
        ::SetFocus(window_);
    }
}

STDMETHODIMP ControlBase::UIDeactivate() {
    if (!uiActive_) {
        return S_OK;
    }
    uiActive_ = false;
    if (frame_) {
        frame_->SetActiveObject(nullptr, nullptr);
    }
    if (document_) {
        document_->SetActiveObject(nullptr, nullptr);
    }
    if (inPlaceSite_) {
        inPlaceSite_->OnUIDeactivate(FALSE);
    }
    return S_OK;
}

STDMETHODIMP ControlBase::InPlaceDeactivate() {
    if (!inPlaceActive_) {
        return S_OK;
    }
    UIDeactivate();
    inPlaceActive_ = false;
    Persist([this] { HideInPlace(); });
    window_ = nullptr;
    clipped_ = false;
    const ComPtr<IOleInPlaceSite> site = std::move(inPlaceSite_);
    frame_.Reset();
    document_.Reset();
    site->OnInPlaceDeactivate();
    return S_OK;
}

STDMETHODIMP ControlBase::SetObjectRects(LPCRECT position, LPCRECT clip) {
    if (position == nullptr) {
        return E_POINTER;
    }
    const UINT dpi = ScreenDpi();
    extent_ = {PixelsToHimetric(position->right - position->left, dpi),
               PixelsToHimetric(position->bottom - position->top, dpi)};
    // Containers give again the place they gave at activation; moving a window to where it is
    // costs a round of position messages and a repaint for nothing.
    if (window_ != nullptr && !IsAt(window_, *position)) {
        ::MoveWindow(window_, position->left, position->top, position->right - position->left,
                     position->bottom - position->top, TRUE);
    }
    if (window_ != nullptr) {
        ClipWindow(window_, *position, clip, clipped_);
    }
    return S_OK;
}

STDMETHODIMP ControlBase::TranslateAccelerator(LPMSG message) {
    if (message == nullptr) {
        return E_INVALIDARG;
    }
    const HWND editWindow = inPlaceActive_ ? EditWindow() : nullptr;
    return TranslateControlKey(*message, editWindow, ControlSiteOfContainer().Get());
}

ComPtr<IOleControlSite> ControlBase::ControlSiteOfContainer() {
    ComPtr<IOleControlSite> controlSite;
    if (site_.HasSite()) {
        site_.ClientSite()->QueryInterface(IID_IOleControlSite,
                                           reinterpret_cast<void**>(controlSite.GetAddressOf()));
    }
    return controlSite;
}

STDMETHODIMP ControlBase::GetWindow(HWND* window) {
    if (window == nullptr) {
        return E_POINTER;
    }
    *window = window_;
    return window_ != nullptr ? S_OK : E_FAIL;
}

// Comes from the control's window, where no caller holds the control: it is held until the
// container has heard, since the container's handlers may let it go.
void ControlBase::OnControlFocus(bool gained) {
    const ComPtr<IUnknown> keep(Identity());
    if (gained && inPlaceActive_ && !uiActive_) {
        InPlaceActivate(true);
    }
    if (const ComPtr<IOleControlSite> controlSite = ControlSiteOfContainer()) {
        controlSite->OnFocus(gained ? TRUE : FALSE);
    }
}

// ---- IOleControl ----

STDMETHODIMP ControlBase::GetControlInfo(CONTROLINFO* info) {
    if (info == nullptr) {
        return E_POINTER;
    }
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
}

// The ambient properties are read at every use, so a change needs only a new picture.
STDMETHODIMP ControlBase::OnAmbientPropertyChange(DISPID) {
    Repaint();
    return S_OK;
}

STDMETHODIMP ControlBase::FreezeEvents(BOOL freeze) {
    frozenEvents_ += freeze ? 1 : (frozenEvents_ > 0 ? -1 : 0);
    return S_OK;
}

// ---- IViewObject2 ----

STDMETHODIMP ControlBase::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc,
                               LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                               ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) {
        return DV_E_DVASPECT;
    }
    if (dc == nullptr || bounds == nullptr) {
        return E_INVALIDARG;
    }
    const RECT area = {bounds->left, bounds->top, bounds->right, bounds->bottom};
    return Persist([&] {
        EnsureInitialised();
        DrawContent(dc, area);
    });
}

STDMETHODIMP ControlBase::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    viewAspects_ = aspects;
    viewFlags_ = flags;
    viewSink_ = sink;
    return S_OK;
}

STDMETHODIMP ControlBase::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    if (aspects != nullptr) {
        *aspects = viewAspects_;
    }
    if (flags != nullptr) {
        *flags = viewFlags_;
    }
    if (sink != nullptr) {
        *sink = viewSink_.Get();
        if (*sink != nullptr) {
            (*sink)->AddRef();
        }
    }
    return S_OK;
}

STDMETHODIMP ControlBase::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return GetExtent(aspect, size);
}

// ---- Connection points ----

STDMETHODIMP ControlBase::EnumConnectionPoints(IEnumConnectionPoints** points) {
    if (points == nullptr) {
        return E_POINTER;
    }
    *points = nullptr;
    try {
        std::vector<IConnectionPoint*> all = {&propertyNotify_};
        if (events_) {
            all.push_back(&*events_);
        }
        *points = EnumerateConnectionPoints(all).Detach();
        return *points != nullptr ? S_OK : E_OUTOFMEMORY;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP ControlBase::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (point == nullptr) {
        return E_POINTER;
    }
    *point = nullptr;
    if (iid == IID_IPropertyNotifySink) {
        *point = &propertyNotify_;
    } else if (events_ && iid == events_->Iid()) {
        *point = &*events_;
    } else {
        return kConnectNoConnection;
    }
    (*point)->AddRef();
    return S_OK;
}

// ---- Class information and errors ----

STDMETHODIMP ControlBase::GetClassInfo(ITypeInfo** info) {
    if (info == nullptr) {
        return E_POINTER;
    }
    *info = ServerTypeInfo(kind_.clsid).Detach();
    return *info != nullptr ? S_OK : TYPE_E_CANTLOADLIBRARY;
}

STDMETHODIMP ControlBase::GetGUID(DWORD kind, GUID* guid) {
    if (guid == nullptr) {
        return E_POINTER;
    }
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID || kind_.events == nullptr) {
        *guid = GUID_NULL;
        return E_INVALIDARG;
    }
    *guid = *kind_.events;
    return S_OK;
}

STDMETHODIMP ControlBase::InterfaceSupportsErrorInfo(REFIID iid) {
    return iid == kind_.dual ? S_OK : S_FALSE;
}

// ---- IQuickActivate ----

STDMETHODIMP ControlBase::QuickActivate(QACONTAINER* container, QACONTROL* control) {
    if (container == nullptr || control == nullptr) {
        return E_POINTER;
    }
    if (container->cbSize < sizeof(QACONTAINER) || control->cbSize < sizeof(QACONTROL)) {
        return E_INVALIDARG;
    }
    SetClientSite(container->pClientSite);
    if (container->pAdviseSink != nullptr) {
        SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
    }
    control->dwPropNotifyCookie = 0;
    control->dwEventCookie = 0;
    if (container->pPropertyNotifySink != nullptr) {
        propertyNotify_.Advise(container->pPropertyNotifySink, &control->dwPropNotifyCookie);
    }
    if (container->pUnkEventSink != nullptr && events_) {
        events_->Advise(container->pUnkEventSink, &control->dwEventCookie);
    }
    control->dwMiscStatus = kind_.miscStatus;
    control->dwViewStatus = 0;
    control->dwPointerActivationPolicy = 0;
    return S_OK;
}

STDMETHODIMP ControlBase::SetContentExtent(LPSIZEL size) {
    return SetExtent(DVASPECT_CONTENT, size);
}

STDMETHODIMP ControlBase::GetContentExtent(LPSIZEL size) {
    return GetExtent(DVASPECT_CONTENT, size);
}

// ---- SiteOwner ----

void ControlBase::OnPropertyChanged(std::u16string_view name) {
    dirty_ = true;
    const DISPID id = IdOfProperty(name);
    propertyNotify_.ForEach<IPropertyNotifySink>(
        [id](IPropertyNotifySink& sink) { sink.OnChanged(id); });
    SendDataChange();
}

SIZE ControlBase::ExtentPixels() {
    const UINT dpi = ScreenDpi();
    return {HimetricToPixels(extent_.cx, dpi), HimetricToPixels(extent_.cy, dpi)};
}

void ControlBase::SetExtentPixels(SIZE size) {
    const UINT dpi = ScreenDpi();
    extent_ = {PixelsToHimetric(size.cx, dpi), PixelsToHimetric(size.cy, dpi)};
    if (window_ != nullptr) {
        ::SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (inPlaceSite_) {
        RECT position = {};
        if (window_ != nullptr && ::GetWindowRect(window_, &position)) {
            ::MapWindowPoints(nullptr, ::GetParent(window_), reinterpret_cast<POINT*>(&position),
                              2);
            inPlaceSite_->OnPosRectChange(&position);
        }
    }
}

void ControlBase::Repaint() {
    if (window_ != nullptr) {
        ::InvalidateRect(window_, nullptr, TRUE);
    }
    if (viewSink_) {
        viewSink_->OnViewChange(DVASPECT_CONTENT, -1);
    }
    SendDataChange();
}

} // namespace relingo::com
