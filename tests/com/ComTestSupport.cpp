#include "tests/com/ComTestSupport.h"

#include "tests/win32support/Win32TestSupport.h"

#include <algorithm>
#include <thread>

namespace relingo::test {

namespace {

std::wstring TestFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring full(path, length);
    return full.substr(0, full.find_last_of(L'\\'));
}

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

void CollectTree(HKEY root, const std::wstring& path, REGSAM view,
                 std::vector<std::wstring>& lines) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) {
        return;
    }
    lines.push_back(path + L"|");
    for (DWORD i = 0;; ++i) {
        wchar_t name[256] = {};
        DWORD nameLength = 256;
        BYTE data[2048] = {};
        DWORD dataLength = sizeof data;
        DWORD type = 0;
        if (::RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &dataLength) !=
            ERROR_SUCCESS) {
            break;
        }
        std::wstring text = type == REG_SZ ? std::wstring(reinterpret_cast<wchar_t*>(data))
                                           : L"<type " + std::to_wstring(type) + L">";
        lines.push_back(path + L"|" + name + L"|" + text);
    }
    std::vector<std::wstring> subkeys;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256] = {};
        DWORD nameLength = 256;
        if (::RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        subkeys.push_back(name);
    }
    ::RegCloseKey(key);
    for (const auto& subkey : subkeys) {
        CollectTree(root, path + L"\\" + subkey, view, lines);
    }
}

DispatchResult Invoke(IDispatch* object, const wchar_t* name, WORD flags,
                      std::vector<VARIANT> arguments) {
    DISPID id = DISPID_UNKNOWN;
    auto* names = const_cast<LPOLESTR>(name);
    DispatchResult result;
    result.hr = object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(result.hr)) {
        return result;
    }
    return InvokeId(object, id, flags, std::move(arguments));
}

} // namespace

std::wstring BesideTests(const std::wstring& name) {
    return TestFolder() + L"\\" + name;
}

std::wstring ServerPath() {
    return BesideTests(L"RelingoControls.ocx");
}

std::wstring ServerManifestPath() {
    return BesideTests(L"RelingoControls.manifest");
}

std::wstring SystemProgram(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder, length) + L"\\" + name;
}

ProgramRun RunProgram(const std::wstring& commandLine,
                      const std::function<void(DWORD)>& whileRunning,
                      std::chrono::milliseconds limit) {
    ProgramRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        return run;
    }
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = nullptr;
    PROCESS_INFORMATION info = {};
    std::wstring line = commandLine;
    const BOOL started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                          nullptr, &startup, &info);
    ::CloseHandle(writeEnd);
    if (!started) {
        ::CloseHandle(readEnd);
        return run;
    }
    std::thread reader([&] {
        char buffer[4096];
        DWORD read = 0;
        while (::ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) {
            run.output.append(buffer, read);
        }
    });
    if (whileRunning) {
        whileRunning(info.dwProcessId);
    }
    if (::WaitForSingleObject(info.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) {
        ::TerminateProcess(info.hProcess, 0xDEAD);
        ::WaitForSingleObject(info.hProcess, 5000);
    }
    ::GetExitCodeProcess(info.hProcess, &run.exitCode);
    reader.join();
    ::CloseHandle(readEnd);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    run.output.erase(std::remove(run.output.begin(), run.output.end(), '\r'), run.output.end());
    return run;
}

DWORD Regsvr32(const std::wstring& options) {
    return RunProgram(Quoted(SystemProgram(L"regsvr32.exe")) + L" /s " + options + L" " +
                      Quoted(ServerPath()))
        .exitCode;
}

ProgramRun RunScript(const std::wstring& script, const std::vector<std::wstring>& arguments,
                     const std::function<void(DWORD)>& whileRunning) {
    std::wstring line = Quoted(SystemProgram(L"cscript.exe")) + L" //nologo " +
                        Quoted(BesideTests(L"com-scripts\\" + script));
    for (const auto& argument : arguments) {
        line += L" " + Quoted(argument);
    }
    return RunProgram(line, whileRunning);
}

std::vector<std::string> Lines(const std::string& output) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < output.size()) {
        const size_t end = output.find('\n', start);
        lines.push_back(output.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return lines;
}

std::vector<std::wstring> RegistryTree(HKEY root, const std::wstring& path, REGSAM view) {
    std::vector<std::wstring> lines;
    CollectTree(root, path, view, lines);
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::wstring RegistryString(HKEY root, const std::wstring& key, const std::wstring& name) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data;
    if (::RegGetValueW(root, key.c_str(), name.empty() ? nullptr : name.c_str(), RRF_RT_REG_SZ,
                       nullptr, data, &size) != ERROR_SUCCESS) {
        return L"<absent>";
    }
    return data;
}

void UnregisterEverywhere() {
    Regsvr32(L"/u");
    Regsvr32(L"/u /n /i:user");
}

ServerActivation::ServerActivation() {
    const std::wstring manifest = ServerManifestPath();
    ACTCTXW description = {};
    description.cbSize = sizeof description;
    description.lpSource = manifest.c_str();
    context_ = ::CreateActCtxW(&description);
    if (context_ != INVALID_HANDLE_VALUE && !::ActivateActCtx(context_, &cookie_)) {
        cookie_ = 0;
    }
}

ServerActivation::~ServerActivation() {
    if (cookie_ != 0) {
        ::DeactivateActCtx(0, cookie_);
    }
    if (context_ != INVALID_HANDLE_VALUE) {
        ::ReleaseActCtx(context_);
    }
}

DispatchResult::~DispatchResult() {
    ::VariantClear(&value);
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrDescription);
    ::SysFreeString(exception.bstrHelpFile);
}

DispatchResult::DispatchResult(DispatchResult&& other) noexcept
    : hr(other.hr), value(other.value), exception(other.exception) {
    other.value = VARIANT{};
    other.exception = EXCEPINFO{};
}

int DispatchResult::Number() const {
    const HRESULT code = hr == DISP_E_EXCEPTION ? exception.scode : hr;
    return HRESULT_FACILITY(code) == FACILITY_CONTROL ? HRESULT_CODE(code) : 0;
}

std::wstring DispatchResult::Description() const {
    return exception.bstrDescription != nullptr ? exception.bstrDescription : L"";
}

DispatchResult InvokeId(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> arguments) {
    DispatchResult result;
    std::reverse(arguments.begin(), arguments.end());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    UINT argumentError = 0;
    result.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result.value,
                               &result.exception, &argumentError);
    return result;
}

DispatchResult GetProperty(IDispatch* object, const wchar_t* name) {
    return Invoke(object, name, DISPATCH_PROPERTYGET, {});
}

DispatchResult PutProperty(IDispatch* object, const wchar_t* name, const VARIANT& value) {
    return Invoke(object, name, DISPATCH_PROPERTYPUT, {value});
}

DispatchResult CallMethod(IDispatch* object, const wchar_t* name) {
    return Invoke(object, name, DISPATCH_METHOD, {});
}

VARIANT Text(const std::wstring& text) {
    VARIANT value;
    value.vt = VT_BSTR;
    value.bstrVal = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return value;
}

VARIANT Long(LONG number) {
    VARIANT value;
    value.vt = VT_I4;
    value.lVal = number;
    return value;
}

VARIANT Boolean(bool flag) {
    VARIANT value;
    value.vt = VT_BOOL;
    value.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    return value;
}

size_t PrivateBytes() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION region = {};
    const char* address = nullptr;
    while (::VirtualQuery(address, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            total += region.RegionSize;
        }
        address = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    }
    return total;
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit,
               HWND dialogWindow, const std::function<bool(MSG&)>& takenFirst) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if ((takenFirst && takenFirst(message)) ||
                (dialogWindow != nullptr && ::IsDialogMessageW(dialogWindow, &message))) {
                continue;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}

void BringToFront(HWND window) {
    ::SetForegroundWindow(window);
    PumpUntil([&] { return ::GetForegroundWindow() == window; });
    ::Sleep(100);
    PumpUntil([] { return true; });
}

} // namespace relingo::test
