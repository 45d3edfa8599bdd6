#include "filenamebox/win32/FileNameBoxWindow.h"

#include "platform/Error.h"

namespace relingo::win32 {

namespace {

constexpr int kInputId = 1;

// The module that holds the box's window procedure: the program's own, or a server DLL's when
// the box is a COM control. Its class goes with that module, and so must be registered for it.
HINSTANCE ModuleOfThisCode() {
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&ModuleOfThisCode), &module);
    return module;
}

} // namespace

void UnregisterFileNameBoxClass() {
    ::UnregisterClassW(kFileNameBoxClass, ModuleOfThisCode());
}

FileNameBoxWindow::FileNameBoxWindow(HWND parent, const RECT& bounds, int controlId,
                                     SystemServices& system, ControlHost& host,
                                     FileNameBoxEvents* events, const BoxSystem& boxSystem)
    : ownSite_(new Win32ControlHost(Win32ControlHost::SiteIn(host, *boxSystem.dpi))),
      site_(*ownSite_) {
    CreateBoxWindow(parent, bounds, controlId);
    try {
        input_ = std::make_unique<EditTextBox>(Handle(), kInputId, host.AmbientFont(), boxSystem);
        ownBox_ = std::make_unique<FileNameBox>(system, site_, *input_, events);
        box_ = ownBox_.get();
        box_->Resize();
        AcceptDropsUnlessParked(parent);
    } catch (...) {
        Abandon();
        throw;
    }
}

// The box is laid out for the window before its EDIT is made filling it, so that the kept state
// arrives at the size the EDIT already has.
FileNameBoxWindow::FileNameBoxWindow(HWND parent, const RECT& bounds, int controlId,
                                     Win32ControlHost& site, FileNameBox& box,
                                     DeferredTextBox& input, const BoxSystem& boxSystem)
    : site_(site) {
    CreateBoxWindow(parent, bounds, controlId);
    try {
        box.Resize();
        input_ = std::make_unique<EditTextBox>(Handle(), kInputId, input.GetFont(), boxSystem);
        input.Attach(*input_);
        box_ = &box;
        AcceptDropsUnlessParked(parent);
    } catch (...) {
        Abandon();
        throw;
    }
}

void FileNameBoxWindow::CreateBoxWindow(HWND parent, const RECT& bounds, int controlId) {
    const HINSTANCE module = ModuleOfThisCode();
    WNDCLASSEXW windowClass = {};
    windowClass.hInstance = module;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_IBEAM);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kFileNameBoxClass;
    RegisterClassOnce(windowClass);
    // WS_EX_CONTROLPARENT lets the dialog manager's Tab step into the EDIT inside.
    CreateHandle(WS_EX_CONTROLPARENT, kFileNameBoxClass, L"",
                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, bounds.left, bounds.top,
                 bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), module,
                 u"The file name box could not be created.");
    site_.SetWindow(Handle());
}

// A box parked among the message-only windows is out of the mouse's reach.
void FileNameBoxWindow::AcceptDropsUnlessParked(HWND parent) {
    if (parent != HWND_MESSAGE) {
        AcceptDrops();
    }
}

void FileNameBoxWindow::Abandon() {
    box_ = nullptr;
    ownBox_.reset();
    input_.reset();
    DestroyHandle();
}

FileNameBoxWindow::~FileNameBoxWindow() {
    // The logic first, so that nothing the window does while going reaches it.
    box_ = nullptr;
    ownBox_.reset();
    DestroyHandle();
    input_.reset();
}

// Through a copy: the container that hears of it may end the box, and with it the observer.
void FileNameBoxWindow::NotifyFocus(bool gained) {
    if (const std::function<void(bool)> observer = focusObserver_) {
        observer(gained);
    }
}

void FileNameBoxWindow::Move(const RECT& bounds) {
    ::MoveWindow(Handle(), bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, TRUE);
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
    case WM_COMMAND:
        if (input_ && reinterpret_cast<HWND>(lParam) == input_->Handle() &&
            (HIWORD(wParam) == EN_SETFOCUS || HIWORD(wParam) == EN_KILLFOCUS)) {
            NotifyFocus(HIWORD(wParam) == EN_SETFOCUS);
            return 0;
        }
        return Default(message, wParam, lParam);
    case WM_NCDESTROY:
        site_.SetWindow(nullptr);
        return Default(message, wParam, lParam);
    case WM_SETFOCUS:
        // The box itself takes no input; the focus belongs in the EDIT.
        if (input_ && input_->Handle() != nullptr) {
            ::SetFocus(input_->Handle());
        }
        return 0;
    default:
        return Default(message, wParam, lParam);
    }
}

} // namespace relingo::win32
