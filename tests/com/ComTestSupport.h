// What the tests of the COM server share: where the server and the hosts of the system are, the
// hosts run as programs with their output read back, the server's registration in the registry,
// and the server reached without registration through its assembly manifest.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <objbase.h>
#include <wrl/client.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace relingo::test {

using Microsoft::WRL::ComPtr;

// The server and its assembly manifest, beside the test programs.
std::wstring ServerPath();
std::wstring ServerManifestPath();
// A file beside the test programs.
std::wstring BesideTests(const std::wstring& name);
// A program of the system folder of this process's bitness (the 32-bit ones for a 32-bit test).
std::wstring SystemProgram(const wchar_t* name);

struct ProgramRun {
    DWORD exitCode = static_cast<DWORD>(-1);
    std::string output; // standard output, carriage returns left out
};

// Runs a program hidden, with its standard output read; whileRunning gets the process id and is
// called once the program has started. A program still running at the limit is ended.
ProgramRun RunProgram(const std::wstring& commandLine,
                      const std::function<void(DWORD)>& whileRunning = {},
                      std::chrono::milliseconds limit = std::chrono::seconds(60));

// regsvr32 /s with the options, on the server; its exit code.
DWORD Regsvr32(const std::wstring& options);

// cscript //nologo on a script of tests/com/scripts, with the arguments.
ProgramRun RunScript(const std::wstring& script, const std::vector<std::wstring>& arguments,
                     const std::function<void(DWORD)>& whileRunning = {});

// The lines of the output, without their ends.
std::vector<std::string> Lines(const std::string& output);

// Every key and value of a registry subtree as a line "key|name|data", sorted; empty when the
// key is absent. view: KEY_WOW64_64KEY or KEY_WOW64_32KEY for that registry view, 0 for the
// process's own.
std::vector<std::wstring> RegistryTree(HKEY root, const std::wstring& path, REGSAM view = 0);

// A string value of a key; nothing read gives "<absent>".
std::wstring RegistryString(HKEY root, const std::wstring& key, const std::wstring& name = {});

// The controls' registration in both scopes taken away, whatever a test left.
void UnregisterEverywhere();

// The thread's COM apartment for the length of a test: OLE's, which containers need.
class OleApartment {
public:
    OleApartment() { ::OleInitialize(nullptr); }
    ~OleApartment() { ::OleUninitialize(); }
    OleApartment(const OleApartment&) = delete;
    OleApartment& operator=(const OleApartment&) = delete;
};

// The server's assembly manifest active on this thread: the controls are made by ProgID without
// any registration, as a program whose manifest names them makes them.
class ServerActivation {
public:
    ServerActivation();
    ~ServerActivation();
    ServerActivation(const ServerActivation&) = delete;
    ServerActivation& operator=(const ServerActivation&) = delete;
    bool Active() const { return cookie_ != 0; }

private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

// A new control of the ProgID, as the interface asked for; null when none could be made.
template <class Interface>
ComPtr<Interface> MakeControl(const wchar_t* progId) {
    CLSID clsid = {};
    ComPtr<Interface> made;
    if (SUCCEEDED(::CLSIDFromProgID(progId, &clsid))) {
        ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(Interface),
                           reinterpret_cast<void**>(made.GetAddressOf()));
    }
    return made;
}

// Late binding, as a script does it: a member reached by its name.
struct DispatchResult {
    HRESULT hr = E_FAIL;
    VARIANT value{};
    EXCEPINFO exception{};
    ~DispatchResult();
    DispatchResult() = default;
    DispatchResult(const DispatchResult&) = delete;
    DispatchResult& operator=(const DispatchResult&) = delete;
    DispatchResult(DispatchResult&& other) noexcept;
    // The error number a script's Err.Number would show: the low word of a control error.
    int Number() const;
    std::wstring Description() const;
};
DispatchResult GetProperty(IDispatch* object, const wchar_t* name);
DispatchResult PutProperty(IDispatch* object, const wchar_t* name, const VARIANT& value);
DispatchResult CallMethod(IDispatch* object, const wchar_t* name);
DispatchResult InvokeId(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> arguments);

VARIANT Text(const std::wstring& text); // a VT_BSTR the caller frees with VariantClear
VARIANT Long(LONG value);
VARIANT Boolean(bool value);

// The bytes of the process's committed private memory: what stays in use whatever the system
// reports of working sets.
size_t PrivateBytes();

// Lets the thread's windows handle what is waiting for them, until the condition holds or the
// limit passes. Dialog keys go through the dialog manager of dialogWindow when there is one; a
// message that takenFirst takes (answers true for) goes no further.
bool PumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(20),
               HWND dialogWindow = nullptr, const std::function<bool(MSG&)>& takenFirst = {});

// The text of a window, as GetWindowText gives it (up to 255 characters).
std::wstring WindowText(HWND window);

// Brings the window to the front and lets it take in the display's focus events: Wine lets go
// of the keys the display does not hold down when a window gains the focus, and keys sent in
// that moment are lost.
void BringToFront(HWND window);

} // namespace relingo::test
