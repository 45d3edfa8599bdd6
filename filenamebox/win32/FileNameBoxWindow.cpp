#include "filenamebox/win32/FileNameBoxWindow.h"

#include "platform/Error.h"

#include <cmath>

namespace relingo::win32 {

namespace {

constexpr int kInputId = 1;

// The class is registered once for the process; a second registration finds it there.
void RegisterBoxClass(WNDPROC windowProc) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_IBEAM);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kFileNameBoxClass;
    if (!::RegisterClassExW(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw Error(errnum::kOutOfMemory, u"The file name box could not be registered.");
    }
}

RECT Empty() {
    return RECT{0, 0, 0, 0};
}

} // namespace

FileNameBoxWindow::FileNameBoxWindow(HWND parent, int controlId, SystemServices& system,
                                     ControlHost& host, FileNameBoxEvents* events)
    : FileNameBoxWindow(parent, Empty(), controlId, system, host, events) {}

FileNameBoxWindow::FileNameBoxWindow(HWND parent, const RECT& bounds, int controlId,
                                     SystemServices& system, ControlHost& host,
                                     FileNameBoxEvents* events)
    : site_(host, hwnd_) {
    RegisterBoxClass(WindowProc);
    // WS_EX_CONTROLPARENT lets the dialog manager's Tab step into the EDIT inside.
    hwnd_ = ::CreateWindowExW(WS_EX_CONTROLPARENT, kFileNameBoxClass, L"",
                              WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, bounds.left, bounds.top,
                              bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                              ::GetModuleHandleW(nullptr), this);
    if (hwnd_ == nullptr) {
        throw Error(errnum::kOutOfMemory, u"The file name box could not be created.");
    }
    try {
        input_ = std::make_unique<EditTextBox>(hwnd_, kInputId, host.AmbientFont());
        box_ = std::make_unique<FileNameBox>(system, site_, *input_, events);
        box_->Resize();
    } catch (...) {
        box_.reset();
        input_.reset();
        ::DestroyWindow(hwnd_);
        throw;
    }
}

FileNameBoxWindow::~FileNameBoxWindow() {
    box_.reset(); // first, so that nothing the window does while going reaches the logic
    if (hwnd_ != nullptr) {
        ::DestroyWindow(hwnd_);
    }
    input_.reset();
}

void FileNameBoxWindow::Move(const RECT& bounds) {
    ::MoveWindow(hwnd_, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, TRUE);
}

LRESULT CALLBACK FileNameBoxWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* creating = static_cast<FileNameBoxWindow*>(create->lpCreateParams);
        creating->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
    }
    auto* self = reinterpret_cast<FileNameBoxWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // No failure of the box's logic may cross the system's frames.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT FileNameBoxWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (input_ && input_->HandleParentMessage(message, wParam, lParam, result)) {
        return result;
    }
    switch (message) {
    case WM_SIZE:
        if (box_) {
            box_->Resize();
        }
        return 0;
    case WM_SETFOCUS:
        // The box itself takes no input; the focus belongs in the EDIT.
        if (input_ && input_->Handle() != nullptr) {
            ::SetFocus(input_->Handle());
        }
        return 0;
    default:
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

float FileNameBoxWindow::Site::ControlWidth() {
    RECT client = {};
    return window_ != nullptr && ::GetClientRect(window_, &client)
               ? static_cast<float>(client.right)
               : 0.0f;
}

float FileNameBoxWindow::Site::ControlHeight() {
    RECT client = {};
    return window_ != nullptr && ::GetClientRect(window_, &client)
               ? static_cast<float>(client.bottom)
               : 0.0f;
}

void FileNameBoxWindow::Site::SetControlSize(float width, float height) {
    if (window_ != nullptr) {
        ::SetWindowPos(window_, nullptr, 0, 0, static_cast<int>(std::lround(width)),
                       static_cast<int>(std::lround(height)),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FileNameBoxWindow::Site::Refresh() {
    if (window_ != nullptr) {
        ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
    }
}

} // namespace relingo::win32
