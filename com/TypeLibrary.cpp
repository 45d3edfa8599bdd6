#include "com/TypeLibrary.h"

#include "com/ComErrors.h"
#include "platform/Error.h"

#include <oleauto.h>

#include <mutex>
#include <utility>

namespace relingo::com {

HMODULE ServerModule() noexcept {
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&ServerModule), &module);
    return module;
}

std::wstring ServerPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(ServerModule(), path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

namespace {

// The server's one type library, shared by all its objects on every thread: loading it is most of
// what a new object's first call costs. It is let go only by ReleaseServerTypeLibrary, never by a
// destructor, which would release it while the process unloads DLLs.
std::mutex libraryLock;
ITypeLib* library = nullptr;

} // namespace

ComPtr<ITypeLib> ServerTypeLibrary() noexcept {
    try {
        const std::lock_guard<std::mutex> hold(libraryLock);
        if (library == nullptr) {
            const std::wstring path = ServerPath();
            if (path.empty() || FAILED(::LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library))) {
                library = nullptr;
            }
        }
        return ComPtr<ITypeLib>(library);
    } catch (...) {
        return nullptr;
    }
}

void ReleaseServerTypeLibrary() noexcept {
    ITypeLib* released = nullptr;
    {
        const std::lock_guard<std::mutex> hold(libraryLock);
        released = std::exchange(library, nullptr);
    }
    if (released != nullptr) {
        released->Release();
    }
}

ComPtr<ITypeInfo> ServerTypeInfo(REFGUID guid) noexcept {
    const ComPtr<ITypeLib> loaded = ServerTypeLibrary();
    ComPtr<ITypeInfo> info;
    if (!loaded || FAILED(loaded->GetTypeInfoOfGuid(guid, &info))) {
        return nullptr;
    }
    return info;
}

namespace {

// Whether a member of the type information is the one a call with these flags reaches: a
// property's setter for a put, else its getter or the method.
bool Reaches(const FUNCDESC& function, DISPID id, WORD flags) {
    if (function.memid != id) {
        return false;
    }
    if (flags & DISPATCH_PROPERTYPUT) {
        return function.invkind == INVOKE_PROPERTYPUT;
    }
    if (flags & DISPATCH_PROPERTYPUTREF) {
        return function.invkind == INVOKE_PROPERTYPUTREF;
    }
    return function.invkind == INVOKE_PROPERTYGET || function.invkind == INVOKE_FUNC;
}

// The member the call names, and the arguments given against its own parameters, its return value
// aside: too many or too few are refused before the call, as automation callers expect of every
// object. None of the members has optional parameters. The dispatch side of a dual interface also
// lists IUnknown's and IDispatch's own methods, restricted, under ids of their own; they are no
// members, or a caller's id could reach Release. (Wine numbers the members of a dual interface's
// dispatch side differently in GetFuncIndexOfMemId and GetFuncDesc, so the member is looked for
// here.)
HRESULT CheckCall(ITypeInfo& info, DISPID id, WORD flags, const DISPPARAMS& params) {
    TYPEATTR* attributes = nullptr;
    if (FAILED(info.GetTypeAttr(&attributes))) {
        return S_OK;
    }
    const WORD count = attributes->cFuncs;
    info.ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < count; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(info.GetFuncDesc(i, &function))) {
            continue;
        }
        const bool restricted =
            function->memid == id && (function->wFuncFlags & FUNCFLAG_FRESTRICTED) != 0;
        const bool reached = Reaches(*function, id, flags);
        UINT expected = 0;
        for (SHORT p = 0; p < function->cParams; ++p) {
            if ((function->lprgelemdescParam[p].paramdesc.wParamFlags & PARAMFLAG_FRETVAL) == 0) {
                ++expected;
            }
        }
        info.ReleaseFuncDesc(function);
        if (restricted) {
            return DISP_E_MEMBERNOTFOUND;
        }
        if (reached) {
            if (params.cArgs > expected) {
                return DISP_E_BADPARAMCOUNT;
            }
            return params.cArgs < expected ? DISP_E_PARAMNOTOPTIONAL : S_OK;
        }
    }
    return S_OK; // an unknown member is the type information's to refuse
}

} // namespace

ITypeInfo* TypeInfoDispatch::Info() noexcept {
    if (!info_) {
        info_ = ServerTypeInfo(iid_);
    }
    return info_.Get();
}

HRESULT TypeInfoDispatch::GetTypeInfoCount(UINT* count) noexcept {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 1;
    return S_OK;
}

HRESULT TypeInfoDispatch::GetTypeInfo(UINT index, ITypeInfo** info) noexcept {
    if (info == nullptr) {
        return E_POINTER;
    }
    *info = nullptr;
    if (index != 0) {
        return DISP_E_BADINDEX;
    }
    ITypeInfo* found = Info();
    if (found == nullptr) {
        return TYPE_E_CANTLOADLIBRARY;
    }
    found->AddRef();
    *info = found;
    return S_OK;
}

HRESULT TypeInfoDispatch::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count,
                                        DISPID* ids) noexcept {
    if (riid != IID_NULL) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    ITypeInfo* info = Info();
    if (info == nullptr) {
        return TYPE_E_CANTLOADLIBRARY;
    }
    return ::DispGetIDsOfNames(info, names, count, ids);
}

DISPID TypeInfoDispatch::IdOfName(std::u16string_view name) noexcept {
    try {
        std::wstring wide(name.begin(), name.end());
        LPOLESTR names[] = {wide.data()};
        DISPID id = DISPID_UNKNOWN;
        if (FAILED(GetIDsOfNames(IID_NULL, names, 1, &id))) {
            return DISPID_UNKNOWN;
        }
        return id;
    } catch (...) {
        return DISPID_UNKNOWN;
    }
}

HRESULT TypeInfoDispatch::AsException(int32_t number, EXCEPINFO* exception) noexcept {
    FillExcepInfo(ReportError(Error(number), iid_, localeId_()), exception);
    return DISP_E_EXCEPTION;
}

HRESULT TypeInfoDispatch::Invoke(void* object, DISPID id, REFIID riid, WORD flags,
                                 DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                 UINT* argumentError) noexcept {
    if (riid != IID_NULL) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    ITypeInfo* info = Info();
    if (info == nullptr) {
        return TYPE_E_CANTLOADLIBRARY;
    }
    DISPPARAMS none = {};
    DISPPARAMS& given = params != nullptr ? *params : none;
    if (const HRESULT checked = CheckCall(*info, id, flags, given); FAILED(checked)) {
        return checked;
    }
    ::SetErrorInfo(0, nullptr);
    EXCEPINFO raised = {};
    const HRESULT hr = info->Invoke(object, id, flags, &given, result, &raised, argumentError);
    if (SUCCEEDED(hr)) {
        return hr;
    }
    switch (hr) {
    case DISP_E_TYPEMISMATCH:
    case E_NOINTERFACE: // an object passed where one of another kind (a font) belongs
        return AsException(errnum::kTypeMismatch, exception);
    case DISP_E_OVERFLOW:
        return AsException(errnum::kOverflow, exception);
    case DISP_E_EXCEPTION: {
        // The member's own error. The type information may have taken its texts already; if not,
        // they are still in the thread's error object.
        const HRESULT code = raised.scode;
        if (raised.bstrDescription == nullptr && ErrorNumberOf(code) != 0) {
            ClearExcepInfo(raised);
            FillExcepInfo(code, exception);
        } else if (exception != nullptr) {
            *exception = raised;
        } else {
            ClearExcepInfo(raised);
        }
        return DISP_E_EXCEPTION;
    }
    default:
        if (ErrorNumberOf(hr) != 0) {
            FillExcepInfo(hr, exception);
            return DISP_E_EXCEPTION;
        }
        return hr;
    }
}

} // namespace relingo::com
