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

// Once nothing of the server is in use, the type library, which is kept for the objects alone,
// goes with it.
STDAPI DllCanUnloadNow() {
    if (!ServerCounts::Idle()) {
        return S_FALSE;
    }
    ReleaseServerTypeLibrary();
    return S_OK;
}

// COM unloads the server at the last CoUninitialize without asking DllCanUnloadNow. The name
// box's window class is this DLL's, with its window procedure in this DLL, and Windows leaves a
// DLL's classes registered after it unloads: the class goes here, and the type library with it.
// At the process's end (reserved set) nothing needs undoing.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        relingo::win32::UnregisterFileNameBoxClass();
        ReleaseServerTypeLibrary();
    }
    return TRUE;
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
