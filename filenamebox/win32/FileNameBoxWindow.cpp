#include "filenamebox/win32/FileNameBoxWindow.h"

#include "platform/Error.h"

namespace relingo::win32 {

namespace {

constexpr int kInputId = 1;

} // namespace

FileNameBoxWindow::FileNameBoxWindow(HWND parent, const RECT& bounds, int controlId,
                                     SystemServices& system, ControlHost& host,
                                     FileNameBoxEvents* events, const DpiFunctions& dpi)
    : ownSite_(new Win32ControlHost(Win32ControlHost::SiteIn(host, dpi))), site_(*ownSite_) {
    CreateBoxWindow(parent, bounds, controlId);
    try {
        input_ = std::make_unique<EditTextBox>(Handle(), kInputId, host.AmbientFont(), dpi);
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
                                     DeferredTextBox& input, const DpiFunctions& dpi)
    : site_(site) {
    CreateBoxWindow(parent, bounds, controlId);
    try {
        box.Resize();
        input_ = std::make_unique<EditTextBox>(Handle(), kInputId, input.GetFont(), dpi);
        input.Attach(*input_);
        box_ = &box;
        AcceptDropsUnlessParked(parent);
    } catch (...) {
        Abandon();
        throw;
    }
}

void FileNameBoxWindow::CreateBoxWindow(HWND parent, const RECT& bounds, int controlId) {
    WNDCLASSEXW windowClass = {};
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_IBEAM);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kFileNameBoxClass;
    RegisterClassOnce(windowClass);
    // WS_EX_CONTROLPARENT lets the dialog manager's Tab step into the EDIT inside.
    CreateHandle(WS_EX_CONTROLPARENT, kFileNameBoxClass, L"",
                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, bounds.left, bounds.top,
                 bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                 ::GetModuleHandleW(nullptr), u"The file name box could not be created.");
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
        if (focusObserver_ && input_ && reinterpret_cast<HWND>(lParam) == input_->Handle() &&
            (HIWORD(wParam) == EN_SETFOCUS || HIWORD(wParam) == EN_KILLFOCUS)) {
            focusObserver_(HIWORD(wParam) == EN_SETFOCUS);
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
