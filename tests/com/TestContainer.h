// A container of the tests' own, in the manner of Wine's conformance tests: a client site that
// gives the ambient properties it is told to and records what the control asks of it, an event
// sink and a property sink that record what the control raises, and a property bag in memory.
// Its form keeps to the stricter hosts' protocols (VB forms, MFC, WinForms): its message loop
// asks the active control first and then only dispatches, its site takes the dialog keys the
// control hands back, and it unloads with the control still on the stack.
#pragma once

#include <windows.h>

#include <ocidl.h>
#include <oleidl.h>

#include "com/ComObject.h"

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace relingo::test {

using com::ComPtr;

// The ambient properties the site answers; an unset one is reported as not supported.
struct Ambients {
    std::optional<LONG> localeId;
    std::optional<bool> userMode;
};

class TestSite : public IOleClientSite,
                 public IOleInPlaceSite,
                 public IOleControlSite,
                 public IDispatch {
public:
    TestSite(HWND window, Ambients ambients) : window_(window), ambients_(ambients) {}
    virtual ~TestSite() = default;
    void* Find(REFIID iid);

    void SetAmbients(Ambients ambients) { ambients_ = ambients; }
    // Where the control is placed in the window, in pixels, and what of it the window shows.
    RECT position = {10, 10, 210, 32};
    std::optional<RECT> clip;
    // Called when the control says its focus changed, as a form's GotFocus and LostFocus.
    std::function<void(bool)> onFocus;

    // What the control asked of the site.
    int inPlaceActivations = 0;
    int inPlaceDeactivations = 0;
    int uiActivations = 0;
    bool uiActive = false;
    std::vector<bool> focusChanges;
    // The keys going down that the control handed back (WM_KEYDOWN and WM_SYSKEYDOWN), with the
    // modifiers it said were held. The site takes Tab, Enter and Esc as a form's dialog keys.
    std::vector<std::pair<WPARAM, DWORD>> keysHanded;

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return S_OK; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
    // IOleWindow, IOleInPlaceSite
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                  LPRECT position, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }
    // IOleControlSite
    STDMETHODIMP OnControlInfoChanged() override { return S_OK; }
    STDMETHODIMP LockInPlaceActive(BOOL) override { return S_OK; }
    STDMETHODIMP GetExtendedControl(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG* message, DWORD modifiers) override;
    STDMETHODIMP OnFocus(BOOL gained) override;
    STDMETHODIMP ShowPropertyFrame() override { return E_NOTIMPL; }
    // IDispatch: the ambient properties
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                        UINT*) override;

private:
    HWND window_;
    Ambients ambients_;
};

// Records the events raised to it; change may alter an event's parameters, as a handler does.
struct SeenEvent {
    DISPID id;
    std::vector<double> arguments; // the by-reference values as the sink received them
};

class EventSink : public IDispatch {
public:
    using Handler = std::function<void(DISPID, DISPPARAMS&)>;
    explicit EventSink(Handler change = {}) : change_(std::move(change)) {}
    virtual ~EventSink() = default;
    void* Find(REFIID iid);

    std::vector<SeenEvent> seen;

    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                        UINT*) override;

private:
    Handler change_;
};

class PropertySink : public IPropertyNotifySink {
public:
    virtual ~PropertySink() = default;
    void* Find(REFIID iid);
    std::vector<DISPID> changed;
    STDMETHODIMP OnChanged(DISPID id) override;
    STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }
};

// A property bag in memory: reads convert to the kind asked for, as hosts' bags do, and an absent
// key is E_INVALIDARG.
class MemoryBag : public IPropertyBag {
public:
    virtual ~MemoryBag();
    void* Find(REFIID iid);
    std::map<std::wstring, VARIANT> values;
    STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override;
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override;
};

// A top-level window to hold controls, with a site for one control in it and an EDIT of its own
// beside it. It is shown only for tests that type or click: under Wine without a window
// manager, every visible top-level window takes a couple of seconds to go.
class TestContainer {
public:
    explicit TestContainer(Ambients ambients, bool visible = false);
    ~TestContainer();
    TestContainer(const TestContainer&) = delete;
    TestContainer& operator=(const TestContainer&) = delete;

    HWND Window() const { return window_; }
    HWND Other() const { return other_; }
    TestSite& Site() { return *site_.Get(); }
    // Sets the site into the control and, with activate, places it in the window.
    void Place(IUnknown* control, bool activate);
    // The placed control's verb, as the container calls it.
    HRESULT DoVerb(LONG verb);
    // What a form's Unload does: closes the control, takes the site from it, lets it go and
    // destroys the window. The control's own caller may still be running.
    void Unload();
    // The form's message loop until the condition holds or the limit passes: a key goes to the
    // active control's TranslateAccelerator first, and is dispatched only when it answers S_FALSE.
    bool RunUntil(const std::function<bool()>& condition,
                  std::chrono::milliseconds limit = std::chrono::seconds(10));

private:
    HWND window_ = nullptr;
    HWND other_ = nullptr;
    ComPtr<com::ComObject<TestSite>> site_;
    ComPtr<IOleObject> placed_;
};

// A bitmap of the screen's kind for a control to draw into, filled with one colour at first.
class PictureBitmap {
public:
    PictureBitmap(SIZE size, COLORREF fill);
    ~PictureBitmap();
    PictureBitmap(const PictureBitmap&) = delete;
    PictureBitmap& operator=(const PictureBitmap&) = delete;

    HDC Dc() const { return dc_; }
    RECT Area() const { return {0, 0, size_.cx, size_.cy}; }
    COLORREF Pixel(POINT point) const { return ::GetPixel(dc_, point.x, point.y); }
    int PixelsOtherThan(COLORREF color) const;
    int PixelsDifferentFrom(const PictureBitmap& other) const;

private:
    SIZE size_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// Connects the sink to the control's connection point for iid; the cookie, 0 for none.
DWORD Connect(IUnknown* control, REFIID iid, IUnknown* sink);

} // namespace relingo::test
