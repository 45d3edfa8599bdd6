// The protocols by which a COM container places, activates, draws, saves and hears a control,
// shared by both controls. It adapts them to the control's own lifecycle (InitProperties,
// ReadProperties, WriteProperties), its in-place window and its drawing, which the derived
// control supplies; it decides nothing about the control itself.
#pragma once

#include <windows.h>

#include <ocidl.h>
#include <oleidl.h>
#include <wrl/client.h>

#include "com/ConnectionPoint.h"
#include "com/ControlClasses.h"
#include "com/ControlSite.h"
#include "platform/PropertyBag.h"

#include <functional>
#include <optional>

namespace relingo::com {

using Microsoft::WRL::ComPtr;

class ControlBase : public IOleObject,
                    public IOleInPlaceObject,
                    public IOleInPlaceActiveObject,
                    public IOleControl,
                    public IViewObject2,
                    public IPersistPropertyBag,
                    public IPersistStreamInit,
                    public IPersistStorage,
                    public IDataObject,
                    public IConnectionPointContainer,
                    public IProvideClassInfo2,
                    public ISupportErrorInfo,
                    public IQuickActivate,
                    protected SiteOwner {
public:
    virtual ~ControlBase();
    ControlBase(const ControlBase&) = delete;
    ControlBase& operator=(const ControlBase&) = delete;

    // The interfaces of this part, for the derived control's Find.
    void* FindControlInterface(REFIID iid);

    // ---- IOleObject ----
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject** data) override;
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND, LPCRECT) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD, LPOLESTR* type) override;
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
    STDMETHODIMP Unadvise(DWORD connection) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** advises) override;
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // ---- IOleWindow, of both in-place interfaces ----
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // ---- IOleInPlaceObject ----
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }

    // ---- IOleInPlaceActiveObject ----
    // The editing keys of the control's window are its own; every other key goes back to the
    // container through its site (KeyTranslation.h).
    STDMETHODIMP TranslateAccelerator(LPMSG message) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

    // ---- IOleControl ----
    STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
    STDMETHODIMP OnMnemonic(MSG*) override { return E_NOTIMPL; }
    STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
    STDMETHODIMP FreezeEvents(BOOL freeze) override;

    // ---- IViewObject2 ----
    STDMETHODIMP Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                      LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    STDMETHODIMP GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override;

    // ---- IPersist, IPersistPropertyBag, IPersistStreamInit ----
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP InitNew() override;
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;
    STDMETHODIMP IsDirty() override { return dirty_ ? S_OK : S_FALSE; }
    STDMETHODIMP Load(LPSTREAM stream) override;
    STDMETHODIMP Save(LPSTREAM stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;

    // ---- IPersistStorage: one stream in the storage, in the stream's format ----
    STDMETHODIMP InitNew(IStorage* storage) override;
    STDMETHODIMP Load(IStorage* storage) override;
    STDMETHODIMP Save(IStorage* storage, BOOL sameAsLoad) override;
    STDMETHODIMP SaveCompleted(IStorage* newStorage) override;
    STDMETHODIMP HandsOffStorage() override;

    // ---- IDataObject: pictures of the control for containers that show it while it does not
    // run, drawn as IViewObject::Draw draws it ----
    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP QueryGetData(FORMATETC* format) override;
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC* format, FORMATETC* canonical) override;
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
    STDMETHODIMP DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink,
                         DWORD* connection) override;
    STDMETHODIMP DUnadvise(DWORD connection) override;
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA** advises) override;

    // ---- IConnectionPointContainer ----
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    // ---- IProvideClassInfo2 ----
    STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

    // ---- ISupportErrorInfo ----
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;

    // ---- IQuickActivate ----
    STDMETHODIMP QuickActivate(QACONTAINER* container, QACONTROL* control) override;
    STDMETHODIMP SetContentExtent(LPSIZEL size) override;
    STDMETHODIMP GetContentExtent(LPSIZEL size) override;

protected:
    explicit ControlBase(const ControlClass& kind);

    ControlSite& Site() { return site_; }
    // The locale the control's error texts follow: the container's.
    int32_t ErrorLocale() noexcept;
    // A member of the dual interface: the control is first loaded from an empty bag if no host
    // initialised or loaded it, as a running program's controls always are; failures become
    // COM errors.
    HRESULT Member(const std::function<void()>& body) noexcept;
    // Members whose result is a text, a Boolean or a number: the result is checked and cleared
    // first, as COM asks of every out parameter.
    HRESULT ReadText(BSTR* result, const std::function<std::u16string()>& read) noexcept;
    HRESULT ReadBoolean(VARIANT_BOOL* result, const std::function<bool()>& read) noexcept;
    template <class Number>
    HRESULT ReadNumber(Number* result, const std::function<Number()>& read) noexcept {
        if (result == nullptr) {
            return E_POINTER;
        }
        *result = Number{};
        return Member([&] { *result = read(); });
    }
    // Raises an event to every connected sink, unless the container froze events.
    void FireEvent(DISPID id, VARIANTARG* argumentsLastFirst, UINT count);
    // The control's own window gained or lost the keyboard focus.
    void OnControlFocus(bool gained);
    bool UserMode() { return site_.AmbientUserMode(); }

    // ---- What the derived control supplies ----
    virtual void InitProperties() = 0;
    virtual void ReadProperties(const PropertyBag& bag) = 0;
    virtual void WriteProperties(PropertyBag& bag) = 0;
    // Places the control's window in the container's window at the position and shows it;
    // null for a control that shows nothing there.
    virtual HWND ShowInPlace(HWND parent, const RECT& position) = 0;
    // Takes the window out of the container again.
    virtual void HideInPlace() = 0;
    virtual void DrawContent(HDC dc, const RECT& bounds) = 0;
    // The window that takes the control's editing keys; null for a control that has none.
    virtual HWND EditWindow() { return nullptr; }
    // The extent changed; a control that keeps a size of its own takes it back.
    virtual void OnExtentChanged() {}
    // The dispatch id of a property, for the notifications of its change.
    virtual DISPID IdOfProperty(std::u16string_view name) = 0;

    // ---- SiteOwner ----
    void OnPropertyChanged(std::u16string_view name) override;
    SIZE ExtentPixels() override;
    void SetExtentPixels(SIZE size) override;
    void Repaint() override;

private:
    // Where the control stands with the storage its container gave it, by the rules of OLE:
    // after a save it writes nothing until SaveCompleted, and after HandsOffStorage it holds no
    // storage until SaveCompleted hands it one.
    enum class StorageState { kNormal, kNoScribble, kHandsOff };

    void EnsureInitialised();
    HRESULT BeginInitialising();
    void LoadFromStream(IStream& stream);
    void SaveToStream(IStream& stream);
    void MarkClean();
    HENHMETAFILE DrawEnhancedMetafile();
    METAFILEPICT DrawMetafilePicture();
    IDataAdviseHolder* DataAdviseHolder();
    // Tells the data advise sinks that the picture has changed.
    void SendDataChange();
    HRESULT InPlaceActivate(bool uiActivate);
    HRESULT EnterInPlace();
    void EnterUI();
    ComPtr<IOleControlSite> ControlSiteOfContainer();
    HRESULT Persist(const std::function<void()>& body) noexcept;
    IUnknown* Identity() { return static_cast<IOleObject*>(this); }

    ControlClass kind_;
    ControlSite site_;
    ConnectionPoint propertyNotify_;
    std::optional<ConnectionPoint> events_;
    ComPtr<IOleAdviseHolder> adviseHolder_;
    ComPtr<IDataAdviseHolder> dataAdviseHolder_;
    ComPtr<IStorage> storage_;
    StorageState storageState_ = StorageState::kNormal;
    bool cleanOnSaveCompleted_ = false;
    ComPtr<IAdviseSink> viewSink_;
    DWORD viewAspects_ = 0;
    DWORD viewFlags_ = 0;
    ComPtr<IOleInPlaceSite> inPlaceSite_;
    ComPtr<IOleInPlaceFrame> frame_;
    ComPtr<IOleInPlaceUIWindow> document_;
    HWND window_ = nullptr;
    bool clipped_ = false; // the window has a region of the container's clip
    bool inPlaceActive_ = false;
    bool uiActive_ = false;
    bool initialised_ = false;
    bool dirty_ = false;
    int frozenEvents_ = 0;
    SIZEL extent_ = {}; // HIMETRIC
};

} // namespace relingo::com
