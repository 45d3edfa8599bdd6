// The server's own type library, built into it as a resource, and IDispatch through it: the
// type library is the one source of member order and dispatch ids.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace relingo::com {

using Microsoft::WRL::ComPtr;

// The server DLL itself, found from the address of its code: no state is kept for it.
HMODULE ServerModule() noexcept;
// Its full file name; empty when the system cannot say.
std::wstring ServerPath();

// The server's type library, loaded on its first use and kept, for every object and thread, until
// ReleaseServerTypeLibrary; null when it cannot be loaded.
ComPtr<ITypeLib> ServerTypeLibrary() noexcept;
// Lets the kept type library go. DllCanUnloadNow calls it once no object of the server is left.
void ReleaseServerTypeLibrary() noexcept;

// The type information the library holds for the GUID; null when it cannot be loaded.
ComPtr<ITypeInfo> ServerTypeInfo(REFGUID guid) noexcept;

// IDispatch of a dual interface, through its type information, loaded on first use. Invoke
// reports a value of the wrong type as error 13 and one out of range as error 6, and passes an
// error the member raised on as an exception, all described in the language of the locale.
class TypeInfoDispatch {
public:
    // localeId gives the locale of the error texts and must not throw.
    TypeInfoDispatch(REFIID iid, std::function<int32_t()> localeId)
        : iid_(iid), localeId_(std::move(localeId)) {}

    HRESULT GetTypeInfoCount(UINT* count) noexcept;
    HRESULT GetTypeInfo(UINT index, ITypeInfo** info) noexcept;
    HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, DISPID* ids) noexcept;
    // object: the dual interface whose methods the call reaches.
    HRESULT Invoke(void* object, DISPID id, REFIID riid, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError) noexcept;

    // The dispatch id of a member named (in any letter case); DISPID_UNKNOWN for none.
    DISPID IdOfName(std::u16string_view name) noexcept;

private:
    ITypeInfo* Info() noexcept;
    HRESULT AsException(int32_t number, EXCEPINFO* exception) noexcept;

    IID iid_;
    std::function<int32_t()> localeId_;
    ComPtr<ITypeInfo> info_;
};

} // namespace relingo::com
