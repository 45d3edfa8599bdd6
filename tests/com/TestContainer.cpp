#include "tests/com/TestContainer.h"

#include "tests/com/ComTestSupport.h"

#include <olectl.h>

#include <utility>

namespace relingo::test {

using com::Interfaces;

void* TestSite::Find(REFIID iid) {
    if (iid == IID_IOleWindow) {
        return static_cast<IOleInPlaceSite*>(this);
    }
    return Interfaces<IOleClientSite, IOleInPlaceSite, IOleControlSite, IDispatch>::Find(this, iid);
}

STDMETHODIMP TestSite::GetContainer(IOleContainer** container) {
    *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP TestSite::GetWindow(HWND* window) {
    *window = window_;
    return S_OK;
}

STDMETHODIMP TestSite::OnInPlaceActivate() {
    ++inPlaceActivations;
    return S_OK;
}

STDMETHODIMP TestSite::OnUIActivate() {
    ++uiActivations;
    uiActive = true;
    return S_OK;
}

STDMETHODIMP TestSite::OnUIDeactivate(BOOL) {
    uiActive = false;
    return S_OK;
}

STDMETHODIMP TestSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                        LPRECT where, LPRECT shown, LPOLEINPLACEFRAMEINFO info) {
    *frame = nullptr;
    *document = nullptr;
    *where = position;
    *shown = clip.value_or(position);
    info->fMDIApp = FALSE;
    info->hwndFrame = window_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP TestSite::OnInPlaceDeactivate() {
    ++inPlaceDeactivations;
    return S_OK;
}

STDMETHODIMP TestSite::OnFocus(BOOL gained) {
    focusChanges.push_back(gained != FALSE);
    if (const auto handler = onFocus) {
        handler(gained != FALSE);
    }
    return S_OK;
}

STDMETHODIMP TestSite::TranslateAccelerator(MSG* message, DWORD modifiers) {
    if (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN) {
        return S_FALSE;
    }
    keysHanded.emplace_back(message->wParam, modifiers);
    const WPARAM key = message->wParam;
    return key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE ? S_OK : S_FALSE;
}

STDMETHODIMP TestSite::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

STDMETHODIMP TestSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                              EXCEPINFO*, UINT*) {
    if (result == nullptr) {
        return E_POINTER;
    }
    if (id == DISPID_AMBIENT_LOCALEID && ambients_.localeId) {
        result->vt = VT_I4;
        result->lVal = *ambients_.localeId;
        return S_OK;
    }
    if (id == DISPID_AMBIENT_USERMODE && ambients_.userMode) {
        result->vt = VT_BOOL;
        result->boolVal = *ambients_.userMode ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

void* EventSink::Find(REFIID iid) {
    return Interfaces<IDispatch>::Find(this, iid);
}

STDMETHODIMP EventSink::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                               EXCEPINFO*, UINT*) {
    SeenEvent event{id, {}};
    for (UINT i = params->cArgs; i-- > 0;) {
        const VARIANTARG& argument = params->rgvarg[i];
        if (argument.vt == (VT_I2 | VT_BYREF)) {
            event.arguments.push_back(*argument.piVal);
        } else if (argument.vt == (VT_R4 | VT_BYREF)) {
            event.arguments.push_back(*argument.pfltVal);
        } else {
            event.arguments.push_back(-1e9); // a parameter not passed by reference
        }
    }
    seen.push_back(event);
    if (change_) {
        change_(id, *params);
    }
    return S_OK;
}

void* PropertySink::Find(REFIID iid) {
    return Interfaces<IPropertyNotifySink>::Find(this, iid);
}

STDMETHODIMP PropertySink::OnChanged(DISPID id) {
    changed.push_back(id);
    return S_OK;
}

MemoryBag::~MemoryBag() {
    for (auto& [name, value] : values) {
        ::VariantClear(&value);
    }
}

void* MemoryBag::Find(REFIID iid) {
    return Interfaces<IPropertyBag>::Find(this, iid);
}

STDMETHODIMP MemoryBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
    const auto found = values.find(name);
    if (found == values.end()) {
        return E_INVALIDARG;
    }
    const VARTYPE wanted = value->vt;
    ::VariantInit(value);
    if (wanted == VT_EMPTY || wanted == found->second.vt) {
        return ::VariantCopy(value, &found->second);
    }
    return ::VariantChangeType(value, &found->second, 0, wanted);
}

STDMETHODIMP MemoryBag::Write(LPCOLESTR name, VARIANT* value) {
    VARIANT copy;
    ::VariantInit(&copy);
    const HRESULT hr = ::VariantCopy(&copy, value);
    if (FAILED(hr)) {
        return hr;
    }
    auto [entry, added] = values.emplace(name, copy);
    if (!added) {
        ::VariantClear(&entry->second);
        entry->second = copy;
    }
    return S_OK;
}

TestContainer::TestContainer(Ambients ambients, bool visible) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"RelingoTestContainer";
    ::RegisterClassW(&windowClass);
    window_ = ::CreateWindowExW(WS_EX_CONTROLPARENT, L"RelingoTestContainer", L"Test container",
                                WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 100, 100, 400,
                                200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    other_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                               10, 100, 200, 22, window_, nullptr, nullptr, nullptr);
    site_ = com::ComObject<TestSite>::Make(window_, ambients);
}

TestContainer::~TestContainer() {
    if (window_ != nullptr) {
        ::DestroyWindow(window_);
    }
}

void TestContainer::Place(IUnknown* control, bool activate) {
    control->QueryInterface(IID_PPV_ARGS(&placed_));
    placed_->SetClientSite(site_.Get());
    if (activate) {
        DoVerb(OLEIVERB_INPLACEACTIVATE);
    }
}

HRESULT TestContainer::DoVerb(LONG verb) {
    return placed_->DoVerb(verb, nullptr, site_.Get(), 0, window_, &site_->position);
}

void TestContainer::Unload() {
    if (const ComPtr<IOleObject> control = std::move(placed_)) {
        control->Close(OLECLOSE_NOSAVE);
        control->SetClientSite(nullptr);
    }
    ::DestroyWindow(std::exchange(window_, nullptr));
}

bool TestContainer::RunUntil(const std::function<bool()>& condition,
                             std::chrono::milliseconds limit) {
    return PumpUntil(condition, limit, nullptr, [this](MSG& message) {
        ComPtr<IOleInPlaceActiveObject> active;
        return message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST && site_->uiActive &&
               placed_ && SUCCEEDED(placed_.As(&active)) &&
               active->TranslateAccelerator(&message) == S_OK;
    });
}

DWORD Connect(IUnknown* control, REFIID iid, IUnknown* sink) {
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
    if (SUCCEEDED(control->QueryInterface(IID_PPV_ARGS(&container))) &&
        SUCCEEDED(container->FindConnectionPoint(iid, &point))) {
        point->Advise(sink, &cookie);
    }
    return cookie;
}

PictureBitmap::PictureBitmap(SIZE size, COLORREF fill) : size_(size) {
    const HDC screen = ::GetDC(nullptr);
    dc_ = ::CreateCompatibleDC(screen);
    bitmap_ = ::CreateCompatibleBitmap(screen, size.cx, size.cy);
    ::ReleaseDC(nullptr, screen);
    old_ = ::SelectObject(dc_, bitmap_);
    const RECT all = Area();
    const HBRUSH brush = ::CreateSolidBrush(fill);
    ::FillRect(dc_, &all, brush);
    ::DeleteObject(brush);
}

PictureBitmap::~PictureBitmap() {
    ::SelectObject(dc_, old_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
}

int PictureBitmap::PixelsOtherThan(COLORREF color) const {
    int count = 0;
    for (LONG y = 0; y < size_.cy; ++y) {
        for (LONG x = 0; x < size_.cx; ++x) {
            count += Pixel({x, y}) != color ? 1 : 0;
        }
    }
    return count;
}

int PictureBitmap::PixelsDifferentFrom(const PictureBitmap& other) const {
    int count = 0;
    for (LONG y = 0; y < size_.cy; ++y) {
        for (LONG x = 0; x < size_.cx; ++x) {
            count += Pixel({x, y}) != other.Pixel({x, y}) ? 1 : 0;
        }
    }
    return count;
}

} // namespace relingo::test
