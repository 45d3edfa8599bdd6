// What a control costs its host, against a plain EDIT made as a child window, given a text and
// destroyed:
//   - a script's name box: CoCreateInstance, one property set through IDispatch (the name looked
//     up first, as a script does), Release;
//   - a script's dialog control, the same;
//   - a name box placed in atl.dll's AtlAxWin window and destroyed.
// The server is reached through its assembly manifest beside this program. Each contender runs
// ROUNDS rounds of OPERATIONS operations, in turns with the plain EDIT, and the figure is the
// median of the per-round ratios, so that a slow phase of the machine hits both alike.
//   ControlCostBench [rounds, default 9] [operations a round, default 20]
#include <windows.h>

#include <oaidl.h>
#include <objbase.h>
#include <wrl/client.h>

#include "bench/Harness.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Microsoft::WRL::ComPtr;
using relingo::bench::Median;
using relingo::bench::Stopwatch;

std::wstring BesideProgram(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring full(path, length);
    return full.substr(0, full.find_last_of(L'\\') + 1) + name;
}

std::wstring SystemFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder, length) + L"\\" + name;
}

// The server's classes, from its manifest, for this thread.
class ServerManifest {
public:
    ServerManifest() {
        const std::wstring manifest = BesideProgram(L"RelingoControls.manifest");
        ACTCTXW description = {};
        description.cbSize = sizeof description;
        description.lpSource = manifest.c_str();
        context_ = ::CreateActCtxW(&description);
        if (context_ == INVALID_HANDLE_VALUE || !::ActivateActCtx(context_, &cookie_)) {
            throw std::runtime_error("the controls' manifest could not be activated");
        }
    }
    ~ServerManifest() {
        ::DeactivateActCtx(0, cookie_);
        ::ReleaseActCtx(context_);
    }
    ServerManifest(const ServerManifest&) = delete;
    ServerManifest& operator=(const ServerManifest&) = delete;

private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

// A hidden top-level window to hold the children the contenders make.
HWND MakeHostWindow() {
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"ControlCostBench", WS_OVERLAPPEDWINDOW, 0,
                                          0, 400, 200, nullptr, nullptr, nullptr, nullptr);
    if (window == nullptr) {
        throw std::runtime_error("no host window");
    }
    return window;
}

void PlainEdit(HWND host) {
    const HWND edit =
        ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                          10, 10, 200, 21, host, nullptr, nullptr, nullptr);
    ::SetWindowTextW(edit, L"C:\\Windows\\notepad.exe");
    ::DestroyWindow(edit);
}

// What a script does with "Set x = CreateObject(progId): x.property = text".
void ScriptObject(REFCLSID clsid, const wchar_t* property, const wchar_t* text) {
    ComPtr<IDispatch> object;
    if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object)))) {
        throw std::runtime_error("the control could not be made");
    }
    auto* names = const_cast<LPOLESTR>(property);
    DISPID id = DISPID_UNKNOWN;
    object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
    VARIANT value;
    value.vt = VT_BSTR;
    value.bstrVal = ::SysAllocString(text);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {&value, &named, 1, 1};
    if (FAILED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                              nullptr, nullptr, nullptr))) {
        ::VariantClear(&value);
        throw std::runtime_error("the property could not be set");
    }
    ::VariantClear(&value);
}

void PlacedBox(HWND host) {
    const HWND box =
        ::CreateWindowExW(0, L"AtlAxWin", L"Relingo.FileNameBox", WS_CHILD | WS_VISIBLE, 10, 40,
                          200, 21, host, nullptr, nullptr, nullptr);
    if (box == nullptr) {
        throw std::runtime_error("AtlAxWin made no box");
    }
    ::DestroyWindow(box);
}

void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

double SecondsPerOperation(const std::function<void()>& operation, int operations) {
    const Stopwatch watch;
    for (int i = 0; i < operations; ++i) {
        operation();
    }
    Pump();
    return watch.Seconds() / operations;
}

// Prints the contender against the plain EDIT, round by round in turns, and the median ratio.
void Compare(const char* name, const std::function<void()>& contender,
             const std::function<void()>& plain, int rounds, int operations) {
    // A first round of each loads what both need once (the server, the type library, atl.dll's
    // classes) and is not counted.
    SecondsPerOperation(contender, operations);
    SecondsPerOperation(plain, operations);
    std::vector<double> ratios;
    std::vector<double> contenderTimes;
    std::vector<double> plainTimes;
    for (int round = 0; round < rounds; ++round) {
        contenderTimes.push_back(SecondsPerOperation(contender, operations));
        plainTimes.push_back(SecondsPerOperation(plain, operations));
        ratios.push_back(contenderTimes.back() / plainTimes.back());
    }
    std::printf("  %-34s %8.1f us  plain EDIT %8.1f us  ratio per round: median %.2f "
                "(lowest %.2f, highest %.2f)\n",
                name, Median(contenderTimes) * 1e6, Median(plainTimes) * 1e6, Median(ratios),
                *std::min_element(ratios.begin(), ratios.end()),
                *std::max_element(ratios.begin(), ratios.end()));
    std::fflush(stdout);
}

int Run(int rounds, int operations) {
    ::OleInitialize(nullptr);
    {
        const ServerManifest manifest;
        CLSID box = {};
        CLSID dialog = {};
        if (FAILED(::CLSIDFromProgID(L"Relingo.FileNameBox", &box)) ||
            FAILED(::CLSIDFromProgID(L"Relingo.FilOpDlg", &dialog))) {
            throw std::runtime_error("the controls' classes are not known");
        }
        const HMODULE atl = ::LoadLibraryW(SystemFile(L"atl.dll").c_str());
        const auto init = reinterpret_cast<BOOL(WINAPI*)()>(
            reinterpret_cast<void (*)()>(::GetProcAddress(atl, "AtlAxWinInit")));
        if (init == nullptr || !init()) {
            throw std::runtime_error("atl.dll's AtlAxWin is not there");
        }
        const HWND host = MakeHostWindow();
        std::printf("what a control costs its host against a plain EDIT made, given a text and "
                    "destroyed (%d rounds of %d, in turns)\n",
                    rounds, operations);
        const auto plain = [host] { PlainEdit(host); };
        Compare(
            "script's name box", [&] { ScriptObject(box, L"Text", L"C:\\notepad.exe"); }, plain,
            rounds, operations);
        Compare(
            "script's dialog control", [&] { ScriptObject(dialog, L"Filter", L"Programs|*.exe"); },
            plain, rounds, operations);
        Compare(
            "name box placed in AtlAxWin", [host] { PlacedBox(host); }, plain, rounds, operations);
        ::DestroyWindow(host);
    }
    ::CoFreeUnusedLibrariesEx(0, 0);
    ::OleUninitialize();
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 9;
    const int operations = argc > 2 ? std::max(1, _wtoi(argv[2])) : 20;
    try {
        return Run(rounds, operations);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ControlCostBench: %s\n", e.what());
        return 1;
    }
}
