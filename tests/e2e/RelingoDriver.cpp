#include "tests/e2e/RelingoDriver.h"

#include "main_window/win32/resource.h"
#include "tests/win32support/UserInput.h"
#include "tests/win32support/Win32TestSupport.h"

#include <vector>

namespace relingo::test {

namespace {

// The control identifiers of the open dialog's file-name field: Windows, then Wine.
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;

// A window that does not answer within a while reads as empty, so that a test waiting for a text
// fails rather than hangs.
std::wstring TextOf(HWND window) {
    constexpr UINT kPatience = 5000;
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kPatience,
                               &length)) {
        return {};
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(),
                          reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG, kPatience,
                          &copied);
    return buffer.data();
}

HWND FileNameField(HWND dialog) {
    HWND field = ::GetDlgItem(dialog, kFileNameCombo);
    if (field == nullptr) {
        field = ::GetDlgItem(dialog, kFileNameEdit);
    }
    return field;
}

} // namespace

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full(path, n);
    return full.substr(0, full.rfind(L'\\'));
}

RelingoDriver::RelingoDriver() : RelingoDriver(ProgramFolder() + L"\\Relingo.exe") {}

RelingoDriver::RelingoDriver(const std::wstring& program) {
    ::SetEnvironmentVariableW(L"RELINGO_STANDIN_SILENT", L"1");
    std::wstring commandLine = L"\"" + program + L"\"";
    const std::wstring folder = program.substr(0, program.rfind(L'\\'));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     folder.c_str(), &startup, &process_);
}

RelingoDriver::~RelingoDriver() {
    if (process_.hProcess != nullptr) {
        if (!HasExited()) {
            ::TerminateProcess(process_.hProcess, 1);
            ::WaitForSingleObject(process_.hProcess, 10000);
        }
        presses_.clear(); // their sends return once the window is gone
        ::CloseHandle(process_.hThread);
        ::CloseHandle(process_.hProcess);
    }
}

bool RelingoDriver::WaitForWindow() {
    // A program that has ended shows no window any more.
    WaitUntil([&] {
        const auto windows = TopWindowsOf(process_.dwProcessId, RELINGO_MAIN_WINDOW_CLASS);
        window_ = windows.empty() ? nullptr : windows.front();
        return window_ != nullptr || HasExited();
    });
    return window_ != nullptr;
}

HWND RelingoDriver::EditOf(int id) const {
    return ::FindWindowExW(Control(id), nullptr, L"Edit", nullptr);
}

std::wstring RelingoDriver::BoxText(int id) {
    return TextOf(EditOf(id));
}

void RelingoDriver::SetBoxText(int id, const std::wstring& text) {
    ::SendMessageW(EditOf(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int RelingoDriver::ListIndex(int id) {
    return static_cast<int>(::SendMessageW(Control(id), CB_GETCURSEL, 0, 0));
}

std::wstring RelingoDriver::ListText(int id) {
    const int index = ListIndex(id);
    if (index < 0) {
        return {};
    }
    wchar_t buffer[256] = {};
    ::SendMessageW(Control(id), CB_GETLBTEXT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

void RelingoDriver::SelectItem(int id, int index) {
    ::SendMessageW(Control(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(window_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(Control(id)));
}

void RelingoDriver::Press(int id) {
    const HWND window = window_;
    const HWND button = Control(id);
    presses_.push_back(std::async(std::launch::async, [window, button, id] {
        ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
    }));
}

bool RelingoDriver::Finished() {
    for (auto& press : presses_) {
        if (press.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            return false;
        }
    }
    presses_.clear();
    return true;
}

std::optional<ShownBox> RelingoDriver::WaitForBox() {
    ShownBox shown;
    const bool found = WaitUntil([&] {
        for (HWND box : TopWindowsOf(process_.dwProcessId, L"#32770")) {
            if (HWND text = ::GetDlgItem(box, 0xFFFF)) {
                shown = {box, TextOf(box), TextOf(text)};
                return true;
            }
        }
        return false;
    });
    return found ? std::optional<ShownBox>(shown) : std::nullopt;
}

bool RelingoDriver::Answer(const ShownBox& box, int button) {
    ::PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box.window, button)));
    return WaitUntil([&] { return !::IsWindow(box.window) || !::IsWindowVisible(box.window); });
}

std::optional<HWND> RelingoDriver::FindOpenDialog() {
    HWND dialog = nullptr;
    const bool found = WaitUntil([&] {
        for (HWND candidate : TopWindowsOf(process_.dwProcessId, L"#32770")) {
            if (FileNameField(candidate) != nullptr) {
                dialog = candidate;
                return true;
            }
        }
        return false;
    });
    return found ? std::optional<HWND>(dialog) : std::nullopt;
}

bool RelingoDriver::ChooseInOpenDialog(const std::wstring& fileName) {
    const auto dialog = FindOpenDialog();
    if (!dialog) {
        return false;
    }
    ::SendMessageW(FileNameField(*dialog), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(fileName.c_str()));
    ::PostMessageW(*dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return WaitUntil([&] { return !::IsWindow(*dialog); });
}

bool RelingoDriver::CancelOpenDialog() {
    const auto dialog = FindOpenDialog();
    if (!dialog) {
        return false;
    }
    ::PostMessageW(*dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return WaitUntil([&] { return !::IsWindow(*dialog); });
}

int RelingoDriver::FocusedControl() {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window_, nullptr), &info) ||
        info.hwndFocus == nullptr) {
        return 0;
    }
    if (info.hwndFocus == window_) {
        return -1;
    }
    HWND control = info.hwndFocus;
    if (::GetParent(control) != window_) {
        control = ::GetParent(control); // the EDIT inside a name box
    }
    return ::GetParent(control) == window_ ? ::GetDlgCtrlID(control) : 0;
}

::testing::AssertionResult RelingoDriver::WaitForFocus(int id) {
    if (WaitUntil([&] { return FocusedControl() == id; })) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "the focus did not come to " << id << ": " << Describe();
}

void RelingoDriver::Click(int id) {
    ClickOn(Control(id));
}

bool RelingoDriver::BringToFront() {
    ::SetForegroundWindow(window_);
    const bool inFront = WaitUntil([&] { return ::GetForegroundWindow() == window_; });
    SettleFocus();
    return inFront;
}

void RelingoDriver::SettleFocus() {
    // The display answers within a millisecond or two; this leaves room for a busy machine.
    ::Sleep(100);
    Answers();
}

bool RelingoDriver::Answers() {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored) != 0;
}

bool RelingoDriver::BoxShown() {
    return !TopWindowsOf(process_.dwProcessId, L"#32770").empty();
}

std::string RelingoDriver::Describe() {
    const HWND front = ::GetForegroundWindow();
    std::wstring text;
    if (front == window_) {
        text = L"Relingo in front";
    } else {
        // GetWindowText reads another program's caption without asking that program.
        wchar_t caption[128] = {};
        ::GetWindowTextW(front, caption, 128);
        wchar_t name[64] = {};
        ::GetClassNameW(front, name, 64);
        text = L"\"" + std::wstring(caption) + L"\" (" + name + L") in front";
    }
    if (HasExited()) {
        DWORD code = 0;
        ::GetExitCodeProcess(process_.hProcess, &code);
        return Utf8(text + L", Relingo has ended with exit code " + std::to_wstring(code));
    }
    if (!Answers()) {
        return Utf8(text + L", Relingo does not answer");
    }
    text += L", focus on " + std::to_wstring(FocusedControl());
    text += L", IPDK box \"" + BoxText(IDC_TXTIPDK) + L"\"";
    text += L", file name box \"" + BoxText(IDC_TXTFILENAME) + L"\"";
    for (HWND box : TopWindowsOf(process_.dwProcessId, L"#32770")) {
        text += L", box \"" + TextOf(box) + L"\": \"" + TextOf(::GetDlgItem(box, 0xFFFF)) + L"\"";
    }
    return Utf8(text);
}

bool RelingoDriver::HasExited() {
    return ::WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
}

bool RelingoDriver::Exit() {
    Press(IDC_CMDEXIT);
    return WaitUntil([&] { return HasExited(); });
}

} // namespace relingo::test
