#include "filenamebox/win32/AccessibleName.h"

#include "platform/win32/ComObject.h"
#include "platform/win32/RunTimeFunctions.h"

#include <new>

namespace relingo::win32 {

namespace {

// The library functions the answer needs, found in the system folder's DLLs. A DLL once loaded
// stays: the objects handed out run its code for as long as a client holds them.
struct AccessibilityLibrary {
    decltype(&::CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
    decltype(&::LresultFromObject) lresultFromObject = nullptr;
    decltype(&::SysAllocString) sysAllocString = nullptr;

    static std::optional<AccessibilityLibrary> Load();
};

std::optional<AccessibilityLibrary> AccessibilityLibrary::Load() {
    const HMODULE oleacc = SystemLibrary(L"oleacc.dll");
    const HMODULE oleaut = SystemLibrary(L"oleaut32.dll");
    AccessibilityLibrary library;
    library.createStdAccessibleObject = FindFunction<decltype(library.createStdAccessibleObject)>(
        oleacc, "CreateStdAccessibleObject");
    library.lresultFromObject =
        FindFunction<decltype(library.lresultFromObject)>(oleacc, "LresultFromObject");
    library.sysAllocString =
        FindFunction<decltype(library.sysAllocString)>(oleaut, "SysAllocString");
    if (!library.createStdAccessibleObject || !library.lresultFromObject ||
        !library.sysAllocString) {
        return std::nullopt;
    }
    return library;
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The system's object for the window with one answer changed: its name for itself. Everything
// else, its children included, is the system's.
class NamedAccessible final : public IAccessible {
public:
    NamedAccessible(IAccessible* standard, std::wstring name, decltype(&::SysAllocString) alloc,
                    ObjectCounts counts)
        : standard_(standard), name_(std::move(name)), sysAllocString_(alloc), counted_(counts) {}
    NamedAccessible(const NamedAccessible&) = delete;
    NamedAccessible& operator=(const NamedAccessible&) = delete;

    // ---- IUnknown ----
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // The standard object's other faces serve navigation. Any other, IMarshal above all,
        // must not be the standard object's, or the client would be handed that one instead.
        if (iid == __uuidof(IOleWindow) || iid == __uuidof(IEnumVARIANT)) {
            return standard_->QueryInterface(iid, object);
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // ---- IDispatch ----
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* badArgument) override {
        return standard_->Invoke(id, iid, locale, flags, params, result, exception, badArgument);
    }

    // ---- IAccessible ----
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) {
            return standard_->get_accName(child, name);
        }
        if (name == nullptr) {
            return E_INVALIDARG;
        }
        *name = sysAllocString_(name_.c_str());
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return standard_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return standard_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
        return standard_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

private:
    ~NamedAccessible() { standard_->Release(); }

    IAccessible* standard_;
    std::wstring name_;
    decltype(&::SysAllocString) sysAllocString_;
    CountedObject counted_; // a screen reader may hold the object long after the answer
    LONG references_ = 1;
};

} // namespace

std::optional<std::wstring> LabelCaptionBefore(HWND window) {
    const HWND before = ::GetWindow(window, GW_HWNDPREV);
    wchar_t className[16] = {};
    if (before == nullptr || ::GetClassNameW(before, className, 16) == 0 ||
        ::lstrcmpiW(className, L"Static") != 0) {
        return std::nullopt;
    }
    const int length = ::GetWindowTextLengthW(before);
    std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
    caption.resize(static_cast<size_t>(::GetWindowTextW(before, caption.data(), length + 1)));
    std::wstring name;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size()) {
            ++i; // the marked character, or the second of "&&"
        }
        name += caption[i];
    }
    return name;
}

namespace {

IAccessible* NamedClientObject(const AccessibilityLibrary& library, HWND window,
                               const std::wstring& name, ObjectCounts counts) {
    IAccessible* standard = nullptr;
    if (FAILED(library.createStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&standard)))) {
        return nullptr;
    }
    auto* named =
        new (std::nothrow) NamedAccessible(standard, name, library.sysAllocString, counts);
    if (named == nullptr) {
        standard->Release();
    }
    return named;
}

} // namespace

IAccessible* NamedClientObject(HWND window, const std::wstring& name, ObjectCounts counts) {
    const std::optional<AccessibilityLibrary> library = AccessibilityLibrary::Load();
    return library ? NamedClientObject(*library, window, name, counts) : nullptr;
}

LRESULT AnswerClientObject(HWND window, WPARAM flags, const std::wstring& name,
                           ObjectCounts counts) {
    const std::optional<AccessibilityLibrary> library = AccessibilityLibrary::Load();
    IAccessible* named = library ? NamedClientObject(*library, window, name, counts) : nullptr;
    if (named == nullptr) {
        return 0;
    }
    const LRESULT answer = library->lresultFromObject(__uuidof(IAccessible), flags, named);
    named->Release(); // the answer holds its own reference
    return answer;
}

} // namespace relingo::win32
