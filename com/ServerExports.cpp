// The entry points every in-process COM server exports.
#include <windows.h>

#include "com/ClassFactory.h"
#include "com/FilOpDlgControl.h"
#include "com/FileNameBoxControl.h"
#include "com/Registration.h"
#include "com/TypeLibrary.h"
#include "filenamebox/win32/FileNameBoxWindow.h"

#include <cwchar>

namespace {

using namespace relingo::com;

template <class Control>
HRESULT GetFactory(REFIID iid, void** out) {
    const auto factory = ComObject<ClassFactory<Control>>::Make();
    return factory ? factory->QueryInterface(iid, out) : E_OUTOFMEMORY;
}

} // namespace

extern "C" {

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    if (clsid == CLSID_FileNameBox) {
        return GetFactory<FileNameBoxControl>(iid, out);
    }
    if (clsid == CLSID_FilOpDlg) {
        return GetFactory<FilOpDlgControl>(iid, out);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

// Once nothing of the server is in use, the name box's window class and the type library go
// with it: the class was registered for the host's program with a window procedure in this DLL,
// which a class left behind would keep pointing at after the DLL unloads, and the library is
// kept for the objects alone.
STDAPI DllCanUnloadNow() {
    if (!ServerCounts::Idle()) {
        return S_FALSE;
    }
    ::UnregisterClassW(relingo::win32::kFileNameBoxClass, ::GetModuleHandleW(nullptr));
    ReleaseServerTypeLibrary();
    return S_OK;
}

STDAPI DllRegisterServer() {
    return RegisterServer(RegistrationScope::Machine);
}

STDAPI DllUnregisterServer() {
    return UnregisterServer(RegistrationScope::Machine);
}

// regsvr32 /n /i:user registers for the user alone, without an administrator;
// regsvr32 /u /n /i:user unregisters that again. "machine" or nothing means the machine.
STDAPI DllInstall(BOOL install, LPCWSTR commandLine) {
    RegistrationScope scope = RegistrationScope::Machine;
    if (commandLine != nullptr && _wcsicmp(commandLine, L"user") == 0) {
        scope = RegistrationScope::User;
    } else if (commandLine != nullptr && *commandLine != L'\0' &&
               _wcsicmp(commandLine, L"machine") != 0) {
        return E_INVALIDARG;
    }
    return install ? RegisterServer(scope) : UnregisterServer(scope);
}

} // extern "C"
