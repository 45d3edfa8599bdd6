#include "tests/win32support/FileDialogDriver.h"

#include "tests/win32support/Win32TestSupport.h"

#include <chrono>

namespace relingo::test {

namespace {

// Control identifiers of the common file dialogs: the file-name field is a combo box on Windows
// and an edit box under Wine; the file-type list is a combo box on both.
constexpr int kFileNameCombo = 0x47C; // cmb13
constexpr int kFileNameEdit = 0x480;  // edt1
constexpr int kFileTypeCombo = 0x470; // cmb1

// The text of a window of another thread: WM_GETTEXT reads what an edit or combo box shows.
std::wstring TextOf(HWND window) {
    wchar_t buffer[1024] = {};
    ::SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

HWND FileNameField(HWND dialog) {
    for (int id : {kFileNameCombo, kFileNameEdit}) {
        if (HWND field = ::GetDlgItem(dialog, id); field != nullptr && ::IsWindowVisible(field)) {
            return field;
        }
    }
    return nullptr;
}

void ReadFilters(HWND dialog, SeenFileDialog& seen) {
    HWND types = ::GetDlgItem(dialog, kFileTypeCombo);
    if (types == nullptr) {
        return;
    }
    const auto count = ::SendMessageW(types, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t item[256] = {};
        if (::SendMessageW(types, CB_GETLBTEXTLEN, i, 0) < 256) {
            ::SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        }
        seen.filters.push_back(item);
    }
    seen.selectedFilter = static_cast<int>(::SendMessageW(types, CB_GETCURSEL, 0, 0));
}

} // namespace

FileDialogDriver::FileDialogDriver(std::optional<std::wstring> name, int button, DWORD processId)
    : name_(std::move(name)), button_(button), processId_(processId), thread_([this] { Run(); }) {}

FileDialogDriver::~FileDialogDriver() {
    Join();
}

void FileDialogDriver::Join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

SeenFileDialog FileDialogDriver::Seen() {
    Join();
    return seen_;
}

void FileDialogDriver::Run() {
    HWND dialog = nullptr;
    const bool ready = WaitUntil([&] {
        const auto dialogs = TopWindowsOf(processId_, L"#32770");
        dialog = dialogs.empty() ? nullptr : dialogs.front();
        return dialog != nullptr && FileNameField(dialog) != nullptr;
    });
    if (!ready) {
        return;
    }
    seen_.found = true;
    wchar_t caption[256] = {};
    ::GetWindowTextW(dialog, caption, 256);
    seen_.caption = caption;
    seen_.owner = ::GetWindow(dialog, GW_OWNER);
    ReadFilters(dialog, seen_);
    if (name_) {
        HWND field = FileNameField(dialog);
        ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name_->c_str()));
        WaitUntil([&] { return TextOf(field) == *name_; }, std::chrono::seconds(5));
    }
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
    seen_.closedByButton = WaitUntil([&] { return !::IsWindow(dialog); });
    if (!seen_.closedByButton) {
        // Whatever is left open would keep the dialog call from ever returning.
        WaitUntil([this] {
            const auto left = TopWindowsOf(processId_, L"#32770");
            for (HWND window : left) {
                ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            }
            return left.empty();
        });
    }
}

} // namespace relingo::test
