#include "main_window/win32/MainWindow.h"

#include "main_window/win32/resource.h"
#include "platform/Error.h"
#include "platform/PropertyBag.h"
#include "platform/Scale.h"
#include "platform/win32/WideText.h"

#include <string_view>

namespace relingo::win32 {

namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExStyle = 0;
constexpr int kWindowFontPoints = 8;
// The drop-down part of a list shows every item without a scroll bar.
constexpr int32_t kDropDownItems = 10;

// The designed properties of one control, built into the program as a resource.
PropertyBag DesignData(HINSTANCE instance, int id) {
    HRSRC resource = ::FindResourceW(instance, MAKEINTRESOURCEW(id), RT_RCDATA);
    HGLOBAL loaded = resource ? ::LoadResource(instance, resource) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (data == nullptr) {
        throw Error(errnum::kFileNotFound, u"The window's design data is missing.");
    }
    return PropertyBag::Load(
        std::string_view(static_cast<const char*>(data), ::SizeofResource(instance, resource)));
}

RECT PlacementInPixels(const ControlPlacement& placement, UINT dpi) {
    const int32_t left = TwipsToPixels(placement.left, dpi);
    const int32_t top = TwipsToPixels(placement.top, dpi);
    return RECT{left, top, left + TwipsToPixels(placement.width, dpi),
                top + TwipsToPixels(placement.height, dpi)};
}

const wchar_t* ClassOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label:
        return L"STATIC";
    case ControlKind::Button:
        return L"BUTTON";
    case ControlKind::DropDownList:
        return L"COMBOBOX";
    case ControlKind::NameBox:
        break;
    }
    return nullptr;
}

DWORD StyleOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label:
        return WS_CHILD | WS_VISIBLE | SS_LEFT;
    case ControlKind::Button:
        return WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    case ControlKind::DropDownList:
        return WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
    case ControlKind::NameBox:
        break;
    }
    return 0;
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance, SystemServices& system, CommonDialogs& dialogs,
                       const DpiFunctions& dpi)
    : instance_(instance), system_(system), dpiFunctions_(dpi),
      dlgFileOpen_(system, dialogs, dialogSite_) {}

MainWindow::~MainWindow() {
    DestroyHandle();
}

void MainWindow::Create(int showCommand, StartupTrace* trace) {
    WNDCLASSEXW windowClass = {};
    windowClass.hInstance = instance_;
    windowClass.hIcon = static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(IDI_RELINGO),
                                                        IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    windowClass.hIconSm = static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(IDI_RELINGO),
                                                          IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = RELINGO_MAIN_WINDOW_CLASS;
    RegisterClassOnce(windowClass);
    MarkPhase(trace, "window class and icons");

    dpi_ = dpiFunctions_.ForSystem();
    const RECT frame = FrameFor(dpi_);
    CreateHandle(kWindowExStyle, RELINGO_MAIN_WINDOW_CLASS, ToWide(kFormCaption).c_str(),
                 kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                 frame.bottom - frame.top, nullptr, nullptr, instance_,
                 u"The main window could not be created.");
    host_.SetWindow(Handle());
    // Per-monitor awareness: the window may start on a monitor of another DPI than the system's.
    const UINT windowDpi = dpiFunctions_.ForWindow(Handle());
    if (windowDpi != dpi_) {
        dpi_ = windowDpi;
        const RECT adjusted = FrameFor(dpi_);
        ::SetWindowPos(Handle(), nullptr, 0, 0, adjusted.right - adjusted.left,
                       adjusted.bottom - adjusted.top, SWP_NOMOVE | SWP_NOZORDER);
    }
    MarkPhase(trace, "main window");
    MakeWindowFont();
    MarkPhase(trace, "window font");
    CreateControls(trace);
    RestoreDesignData();
    MarkPhase(trace, "design data");

    form_ = std::make_unique<frmMain>(system_,
                                      frmMainControls{txtIPDK_->Box(), txtFileName_->Box(),
                                                      cmbFirst_, cmbSecond_, dialogAdapter_},
                                      reinterpret_cast<intptr_t>(Handle()));
    form_->Form_Load();
    MarkPhase(trace, "settings (Form_Load)");
    ::ShowWindow(Handle(), showCommand);
    ::UpdateWindow(Handle());
    MarkPhase(trace, "shown and first paint");
    // Activation gives the focus to the first control; when it came before the window was shown
    // (or, without a window manager, not yet in full), the window gives it here. Shown in the
    // background, it waits for the user to activate it.
    if (::GetActiveWindow() == Handle()) {
        RestoreFocus();
    }
}

// The window rectangle around the designed client area at the DPI.
RECT MainWindow::FrameFor(UINT dpi) const {
    const RECT client = {0, 0, TwipsToPixels(kFormClientWidth, dpi),
                         TwipsToPixels(kFormClientHeight, dpi)};
    return dpiFunctions_.WindowRectFor(client, kWindowStyle, kWindowExStyle, dpi);
}

// Each control is made at its place with the window's font, so that nothing has to be moved or
// measured again before the window is first shown.
void MainWindow::CreateControls(StartupTrace* trace) {
    for (size_t i = 0; i < kFormLayout.size(); ++i) {
        const ControlPlacement& placement = kFormLayout[i];
        const int id = placement.id;
        const RECT r = PlacementInPixels(placement, dpi_);
        if (placement.kind == ControlKind::NameBox) {
            BoxSystem boxSystem;
            boxSystem.dpi = &dpiFunctions_;
            auto box = std::make_unique<FileNameBoxWindow>(Handle(), r, id, system_, host_, nullptr,
                                                           boxSystem);
            controls_[i] = box->Handle();
            (id == IDC_TXTIPDK ? txtIPDK_ : txtFileName_) = std::move(box);
            MarkControl(trace, placement.name);
            continue;
        }
        const std::wstring caption = placement.caption ? ToWide(placement.caption) : L"";
        // A list's window includes its drop-down part, whose items take the font's height.
        const bool list = placement.kind == ControlKind::DropDownList;
        const RECT made =
            list ? RECT{r.left, r.top, r.right, r.bottom + fontHeight_ * kDropDownItems} : r;
        controls_[i] = ::CreateWindowExW(
            0, ClassOf(placement.kind), caption.c_str(), StyleOf(placement.kind), made.left,
            made.top, made.right - made.left, made.bottom - made.top, Handle(),
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
        if (controls_[i] == nullptr) {
            throw Error(errnum::kOutOfMemory,
                        u"A control of the main window could not be created.");
        }
        ::SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        if (list) {
            FitDropDownList(controls_[i], r, fontHeight_);
        }
        MarkControl(trace, placement.name);
    }
    cmbFirst_.Attach(::GetDlgItem(Handle(), IDC_CMBFIRST));
    cmbSecond_.Attach(::GetDlgItem(Handle(), IDC_CMBSECOND));
    for (const char16_t* item : kFirstLanguages) {
        cmbFirst_.AddItem(ToWide(item).c_str());
    }
    for (const char16_t* item : kSecondLanguages) {
        cmbSecond_.AddItem(ToWide(item).c_str());
    }
    MarkPhase(trace, "list items");
}

void MainWindow::RestoreDesignData() {
    txtIPDK_->Box().ReadProperties(DesignData(instance_, IDR_DESIGN_TXTIPDK));
    txtFileName_->Box().ReadProperties(DesignData(instance_, IDR_DESIGN_TXTFILENAME));
    dlgFileOpen_.ReadProperties(DesignData(instance_, IDR_DESIGN_DLGFILEOPEN));
}

// The classic dialog font at 8 points: the layout was designed for it, and the labels' two-line
// captions fit their places only at that size. One font, shared by every control but the boxes.
void MainWindow::MakeWindowFont() {
    LOGFONTW font = {};
    font.lfHeight = -::MulDiv(kWindowFontPoints, static_cast<int>(dpi_), 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    ::lstrcpynW(font.lfFaceName, L"MS Shell Dlg", LF_FACESIZE);
    font_.Reset(::CreateFontIndirectW(&font));
    fontHeight_ = 0;
    if (const HDC dc = ::GetDC(Handle())) {
        const HGDIOBJ previous = ::SelectObject(dc, font_.Get());
        TEXTMETRICW metrics = {};
        if (::GetTextMetricsW(dc, &metrics)) {
            fontHeight_ = metrics.tmHeight;
        }
        ::SelectObject(dc, previous);
        ::ReleaseDC(Handle(), dc);
    }
}

void MainWindow::ApplyFonts() {
    MakeWindowFont();
    for (size_t i = 0; i < kFormLayout.size(); ++i) {
        if (kFormLayout[i].kind != ControlKind::NameBox) {
            ::SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
        }
    }
}

void MainWindow::ApplyLayout() {
    for (size_t i = 0; i < kFormLayout.size(); ++i) {
        const ControlPlacement& placement = kFormLayout[i];
        const RECT r = PlacementInPixels(placement, dpi_);
        const int width = r.right - r.left;
        const int height = r.bottom - r.top;
        if (placement.kind == ControlKind::NameBox) {
            (placement.id == IDC_TXTIPDK ? txtIPDK_ : txtFileName_)->Move(r);
        } else if (placement.kind == ControlKind::DropDownList) {
            FitDropDownList(controls_[i], r, 0);
        } else {
            ::MoveWindow(controls_[i], r.left, r.top, width, height, TRUE);
        }
    }
}

// The closed list is as high as designed; the window's height includes the drop-down part, whose
// items take the height of the list's font. Every move of a list moves its drop-down window too,
// which is dear: a list made for the item height it has, at its place, is not moved again.
void MainWindow::FitDropDownList(HWND list, const RECT& r, int itemHeightMadeFor) {
    const int height = r.bottom - r.top;
    const int item = static_cast<int>(::SendMessageW(list, CB_GETITEMHEIGHT, 0, 0));
    if (item != itemHeightMadeFor) {
        ::MoveWindow(list, r.left, r.top, r.right - r.left, height + item * kDropDownItems, TRUE);
    }
    RECT closed = {};
    ::GetWindowRect(list, &closed);
    if (closed.bottom - closed.top == height) {
        return;
    }
    const int border =
        static_cast<int>(::SendMessageW(list, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    const int frame = (closed.bottom - closed.top) - border;
    ::SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(1, height - frame));
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    ::SetWindowPos(Handle(), nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyFonts();
    // The DPI the message carries, not the boxes' own: before Windows 10 1607 the system cannot
    // tell a window's DPI, and would give the boxes the session's.
    for (FileNameBoxWindow* box : {txtIPDK_.get(), txtFileName_.get()}) {
        box->SetDpi(dpi);
    }
    ApplyLayout();
}

void MainWindow::OnCommand(int id, int code) {
    if (code != BN_CLICKED) {
        return;
    }
    switch (id) {
    case IDC_CMDOK:
        form_->cmdOK_Click();
        break;
    case IDC_CMDCLEAR:
        form_->cmdClear_Click();
        break;
    case IDC_CMDBROWSE0:
        form_->cmdBrowse_Click(0);
        break;
    case IDC_CMDBROWSE1:
        form_->cmdBrowse_Click(1);
        break;
    case IDC_CMDEXIT:
        Unload();
        break;
    default:
        // IDOK and IDCANCEL from Enter and Esc: the window has no default or cancel button.
        break;
    }
}

// What a dialog does for the controls of a window that is not one: the focus leaves with the
// window's activation and comes back to the same control, or at first to the first tab stop.
void MainWindow::RememberFocus() {
    const HWND focus = ::GetFocus();
    if (focus != nullptr && ::IsChild(Handle(), focus)) {
        focused_ = focus;
    }
}

void MainWindow::RestoreFocus() {
    if (::IsIconic(Handle())) {
        return;
    }
    const bool remembered = focused_ != nullptr && ::IsChild(Handle(), focused_) &&
                            ::IsWindowVisible(focused_) && ::IsWindowEnabled(focused_);
    const HWND target = remembered ? focused_ : ::GetNextDlgTabItem(Handle(), nullptr, FALSE);
    if (target != nullptr) {
        ::SetFocus(target);
    }
}

// WM_NEXTDLGCTL as a dialog answers it: the dialog manager sends it for a label's access key
// (first to the label, then on to the next tab stop). An edit that takes the focus this way has
// its text selected.
void MainWindow::OnNextDlgCtl(WPARAM wParam, LPARAM lParam) {
    const HWND target = LOWORD(lParam) != 0
                            ? reinterpret_cast<HWND>(wParam)
                            : ::GetNextDlgTabItem(Handle(), ::GetFocus(), wParam != 0);
    if (target == nullptr || !::IsChild(Handle(), target)) {
        return;
    }
    if ((::SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) {
        ::SendMessageW(target, EM_SETSEL, 0, -1);
    }
    ::SetFocus(target);
}

void MainWindow::Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    if (form_) {
        form_->Form_Unload();
    }
    DestroyHandle();
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            RememberFocus();
        } else {
            RestoreFocus();
        }
        return 0;
    case WM_SETFOCUS:
        RestoreFocus();
        return 0;
    case WM_SIZE:
        // Restored from the task bar, the window itself holds the focus.
        if (wParam == SIZE_RESTORED && ::GetFocus() == Handle()) {
            RestoreFocus();
        }
        return 0;
    case WM_NEXTDLGCTL:
        OnNextDlgCtl(wParam, lParam);
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

} // namespace relingo::win32
