#include "filenamebox/win32/EditTextBox.h"

#include <imm.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "filenamebox/InnerBoxRules.h"
#include "filenamebox/InputMethodSetting.h"
#include "filenamebox/win32/AccessibleName.h"
#include "filenamebox/win32/GdiFont.h"
#include "platform/Error.h"
#include "platform/win32/WideText.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace relingo::win32 {

namespace {

// Runs the check of a box the user has left once the action that left it is over. A timer's
// message comes only when the queue holds nothing else, so the rest of that action (the mouse
// button's release, and with it a button's click) has been handled by then.
constexpr UINT_PTR kLeaveTimer = 0x5245;
constexpr UINT kFirstLook = USER_TIMER_MINIMUM;
constexpr UINT kNextLook = 50;
constexpr UINT_PTR kCompletionTimer = 0x5246;
constexpr UINT_PTR kDropTargetTimer = 0x5247;
// Sent to the children of a window whose DPI changed (Windows 10 1703 and later); the headers of
// a Windows 7 build do not name it.
constexpr UINT kDpiChangedAfterParent = 0x02E3;
// Set on a box's EDIT while it takes back the focus after a failed check. A box that loses the
// focus to it was never really left by the user and must not check itself in turn, or two bad
// boxes would hand the focus to and fro for ever.
constexpr wchar_t kTakingFocusBack[] = L"Relingo.FileNameBox.TakingFocusBack";

constexpr int16_t kLeftButton = 1;
constexpr int16_t kRightButton = 2;
constexpr int16_t kMiddleButton = 4;
constexpr int16_t kShiftMask = 1;
constexpr int16_t kCtrlMask = 2;
constexpr int16_t kAltMask = 4;

COLORREF ToColorRef(uint32_t oleColor) {
    if ((oleColor & olecolor::kSystemFlag) != 0) {
        return ::GetSysColor(static_cast<int>(oleColor & 0xFF));
    }
    return static_cast<COLORREF>(oleColor & 0xFFFFFF);
}

bool KeyIsDown(int virtualKey) {
    return ::GetKeyState(virtualKey) < 0;
}

int16_t KeyboardShiftState() {
    return static_cast<int16_t>((KeyIsDown(VK_SHIFT) ? kShiftMask : 0) |
                                (KeyIsDown(VK_CONTROL) ? kCtrlMask : 0) |
                                (KeyIsDown(VK_MENU) ? kAltMask : 0));
}

int16_t MouseShiftState(WPARAM keys) {
    return static_cast<int16_t>(((keys & MK_SHIFT) ? kShiftMask : 0) |
                                ((keys & MK_CONTROL) ? kCtrlMask : 0) |
                                (KeyIsDown(VK_MENU) ? kAltMask : 0));
}

int16_t HeldButtons(WPARAM keys) {
    return static_cast<int16_t>(((keys & MK_LBUTTON) ? kLeftButton : 0) |
                                ((keys & MK_RBUTTON) ? kRightButton : 0) |
                                ((keys & MK_MBUTTON) ? kMiddleButton : 0));
}

// Whether the user is still in the middle of what took the focus away: a mouse button held
// down, or a box or dialog of the window up (the window is then disabled), or the window no
// longer the active one. The check waits for its end; its own boxes must not nest in others.
bool UserActionUnderWay(HWND root) {
    return KeyIsDown(VK_LBUTTON) || KeyIsDown(VK_RBUTTON) || KeyIsDown(VK_MBUTTON) ||
           !::IsWindowEnabled(root) || ::GetActiveWindow() != root;
}

// The input-method context of a window, held only while it is used.
class InputContext {
public:
    explicit InputContext(HWND window) : window_(window), context_(::ImmGetContext(window)) {}
    ~InputContext() {
        if (context_ != nullptr) {
            ::ImmReleaseContext(window_, context_);
        }
    }
    InputContext(const InputContext&) = delete;
    InputContext& operator=(const InputContext&) = delete;

    HIMC Get() const { return context_; }

private:
    HWND window_;
    HIMC context_;
};

constexpr DWORD kModeConversionBits = IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE;

DWORD ConversionBits(const InputMethodConversion& conversion) {
    return (conversion.native ? IME_CMODE_NATIVE : 0) |
           (conversion.katakana ? IME_CMODE_KATAKANA : 0) |
           (conversion.fullWidth ? IME_CMODE_FULLSHAPE : 0);
}

void AssociateInputContext(HWND window, const InputMethodSetting& setting) {
    ::ImmAssociateContextEx(window, nullptr, setting.withInputMethod ? IACE_DEFAULT : 0);
}

// Only the bits a mode names change: the user's other choices (romaji input, say) and the
// sentence mode stay.
void SetInputState(HWND window, const InputMethodSetting& setting) {
    const InputContext context(window);
    if (context.Get() == nullptr) {
        return;
    }
    if (setting.open) {
        ::ImmSetOpenStatus(context.Get(), *setting.open ? TRUE : FALSE);
    }
    DWORD conversion = 0;
    DWORD sentence = 0;
    if (setting.conversion && ::ImmGetConversionStatus(context.Get(), &conversion, &sentence)) {
        ::ImmSetConversionStatus(
            context.Get(),
            (conversion & ~kModeConversionBits) | ConversionBits(*setting.conversion), sentence);
    }
}

// Waits for the window to be idle on a timer: whether this tick is the one after that. A timer's
// message comes only when nothing else waits, the first paint included, so the first tick shows
// that the window has caught up. The timer then starts again from now (a running one may already
// be due again), so that the second tick comes after the thread has waited for input.
bool IdleReached(HWND window, UINT_PTR timer, int& ticks) {
    if (++ticks == 1) {
        ::SetTimer(window, timer, USER_TIMER_MINIMUM, nullptr);
        return false;
    }
    ::KillTimer(window, timer);
    return true;
}

int ToPixels(float measure) {
    return std::max(0, static_cast<int>(std::lround(measure)));
}

// Posted by the box to itself with the names of a drop, as the system posts WM_DROPFILES: they
// are taken once the dragging program's loop is over.
UINT TakeDroppedFilesMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"Relingo.FileNameBox.TakeDroppedFiles");
    return message;
}

} // namespace

EditTextBox::EditTextBox(HWND parent, int controlId, FontPtr font, const BoxSystem& system)
    : system_(system), backColor_(olecolor::kWindowBackground), foreColor_(olecolor::kWindowText) {
    // Made filling its parent, as the box lays it out, so that the first layout moves nothing.
    // WS_EX_ACCEPTFILES takes files dropped the older way, as DragAcceptFiles would.
    RECT fill = {};
    ::GetClientRect(parent, &fill);
    edit_ = ::CreateWindowExW(WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES, L"EDIT", L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, fill.right,
                              fill.bottom, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                              ::GetModuleHandleW(nullptr), nullptr);
    if (edit_ == nullptr) {
        throw Error(errnum::kOutOfMemory, u"The file name box could not be created.");
    }
    Subclass();
    fontDpi_ = system_.dpi->ForWindow(edit_);
    SetFont(font ? std::move(font) : std::make_shared<Font>());
}

EditTextBox::~EditTextBox() {
    if (edit_ != nullptr) {
        ::DestroyWindow(edit_);
    }
}

// ---- Messages ----

// The EDIT is subclassed the plain way, with its object in its user data: the system's
// subclass helper looks its chain up in a window property at every message, which under Wine is
// a trip to the server and made every message to the box cost many times what the EDIT's own
// handling does. Whatever subclasses the EDIT later (completion does) calls on to this procedure.
void EditTextBox::Subclass() {
    ::SetWindowLongPtrW(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    editProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
}

LRESULT CALLBACK EditTextBox::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<EditTextBox*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        const WNDPROC editProc = self->editProc_;
        self->OnDestroyed();
        return ::CallWindowProcW(editProc, hwnd, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT EditTextBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND edit = edit_;
    const WNDPROC editProc = editProc_;
    const LifeWatch watch = life_.Watch();
    bool skipDefault = false;
    // No failure of the owner's handlers may cross the system's frames; the message then goes
    // on as if no handler had run.
    try {
        switch (message) {
        case WM_CHAR:
            skipDefault = OnChar(wParam);
            break;
        case WM_IME_CHAR:
            // A character from the input method goes through the filter once and on to the EDIT
            // as a typed one; left alone, some EDITs enter it directly and others post it back
            // as WM_CHAR, past the filter or through it a second time.
            if (!OnChar(wParam) && watch.Alive()) {
                ::CallWindowProcW(editProc, edit, WM_CHAR, wParam, lParam);
            }
            skipDefault = true;
            break;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            skipDefault = OnKey(message, wParam);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MOUSEMOVE:
            OnMouse(message, wParam, lParam);
            break;
        case WM_SETFOCUS:
            ApplyIMEMode();
            // Completion starts once the box first has the focus and the window is idle,
            // not while the window is being made.
            if (completionTicks_ == 0) {
                ::SetTimer(edit_, kCompletionTimer, USER_TIMER_MINIMUM, nullptr);
            }
            break;
        case WM_KILLFOCUS:
            OnKillFocus(reinterpret_cast<HWND>(wParam));
            break;
        case WM_TIMER:
            if (wParam == kLeaveTimer) {
                OnLeaveTimer();
                skipDefault = true;
            } else if (wParam == kCompletionTimer) {
                if (IdleReached(edit_, kCompletionTimer, completionTicks_)) {
                    StartCompletion();
                }
                skipDefault = true;
            } else if (wParam == kDropTargetTimer) {
                if (IdleReached(edit_, kDropTargetTimer, dropTicks_)) {
                    AcceptDrops();
                }
                skipDefault = true;
            }
            break;
        case WM_GETOBJECT:
            // The answer is a COM object, handed over through the thread's apartment.
            if (static_cast<LONG>(lParam) == OBJID_CLIENT && com_.Enter()) {
                if (const auto label = LabelCaptionBefore(::GetParent(edit_))) {
                    if (const LRESULT answer =
                            AnswerClientObject(edit_, wParam, *label, system_.counts)) {
                        return answer;
                    }
                }
            }
            break;
        case WM_DROPFILES: {
            const UniqueDrop drop(reinterpret_cast<HDROP>(wParam));
            if (TakesDropsNow(edit_)) {
                TakeDroppedFiles(DroppedFiles(drop.Get()));
            }
            skipDefault = true;
            break;
        }
        case kDpiChangedAfterParent:
            SetDpi(system_.dpi->ForWindow(edit_));
            break;
        case WM_DESTROY:
            dropTarget_.reset();
            break;
        default:
            if (message == TakeDroppedFilesMessage()) {
                TakeQueuedFiles();
                skipDefault = true;
            }
            break;
        }
    } catch (...) {
        // A character whose filtering failed is not entered: it may be one the filter refuses.
        skipDefault =
            message == WM_CHAR || message == WM_IME_CHAR || message == WM_DROPFILES ||
            message == TakeDroppedFilesMessage() ||
            (message == WM_TIMER &&
             (wParam == kLeaveTimer || wParam == kCompletionTimer || wParam == kDropTargetTimer));
    }
    // A handler of what the message raised may have ended the box and its window: the message
    // then goes no further.
    if (skipDefault || !watch.Alive() || edit_ == nullptr) {
        return 0;
    }
    return ::CallWindowProcW(editProc, edit, message, wParam, lParam);
}

// Completion fills in text the way pasting does: typed characters still pass the key filter on
// their way to the EDIT, and leaving the box still runs the check. It needs COM; without it the
// box works on without completion.
void EditTextBox::StartCompletion() {
    const auto autoComplete = ShellFunctions::Get().autoComplete;
    autoCompleteOn_ =
        autoComplete != nullptr && com_.Enter() && SUCCEEDED(autoComplete(edit_, SHACF_FILESYSTEM));
}

bool EditTextBox::OnChar(WPARAM& wParam) {
    if (events_ == nullptr) {
        return false;
    }
    auto keyAscii = static_cast<int16_t>(static_cast<uint16_t>(wParam));
    events_->OnKeyPress(keyAscii);
    if (keyAscii == 0) {
        return true;
    }
    wParam = static_cast<uint16_t>(keyAscii);
    return false;
}

// A handler that sets the key code of a key going down to 0 keeps the key from the EDIT (a
// Delete that deletes nothing, say). Keys with Alt stay the menu's whatever the handler says.
bool EditTextBox::OnKey(UINT message, WPARAM wParam) {
    if (events_ == nullptr) {
        return false;
    }
    auto keyCode = static_cast<int16_t>(static_cast<uint16_t>(wParam));
    int16_t shift = KeyboardShiftState();
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (down) {
        events_->OnKeyDown(keyCode, shift);
    } else {
        events_->OnKeyUp(keyCode, shift);
    }
    return message == WM_KEYDOWN && keyCode == 0;
}

// The position goes to the owner in the control's pixels: the EDIT's border lies inside the
// control, so its client point is moved into the control's client area first.
void EditTextBox::OnMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    if (events_ == nullptr) {
        return;
    }
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::MapWindowPoints(edit_, ::GetParent(edit_), &point, 1);
    const auto x = static_cast<float>(point.x);
    const auto y = static_cast<float>(point.y);
    int16_t shift = MouseShiftState(wParam);
    int16_t button = 0;
    switch (message) {
    case WM_LBUTTONDOWN:
        leftButtonDown_ = true;
        button = kLeftButton;
        events_->OnMouseDown(button, shift, x, y);
        break;
    case WM_RBUTTONDOWN:
        button = kRightButton;
        events_->OnMouseDown(button, shift, x, y);
        break;
    case WM_MBUTTONDOWN:
        button = kMiddleButton;
        events_->OnMouseDown(button, shift, x, y);
        break;
    case WM_LBUTTONUP: {
        button = kLeftButton;
        const LifeWatch watch = life_.Watch();
        events_->OnMouseUp(button, shift, x, y);
        if (watch.Alive() && std::exchange(leftButtonDown_, false) && events_ != nullptr) {
            events_->OnClick();
        }
        break;
    }
    case WM_RBUTTONUP:
        button = kRightButton;
        events_->OnMouseUp(button, shift, x, y);
        break;
    case WM_MBUTTONUP:
        button = kMiddleButton;
        events_->OnMouseUp(button, shift, x, y);
        break;
    case WM_LBUTTONDBLCLK:
        leftButtonDown_ = false;
        events_->OnDblClick();
        break;
    default:
        button = HeldButtons(wParam);
        events_->OnMouseMove(button, shift, x, y);
        break;
    }
}

// Only a move to another control of the same window leaves the box. The focus going to a
// message box (the check's own among them), to another window or to another program is no
// departure: the box keeps its place in the window and gets the focus back with it.
void EditTextBox::OnKillFocus(HWND newFocus) {
    if (newFocus == nullptr || newFocus == edit_ ||
        ::GetAncestor(newFocus, GA_ROOT) != ::GetAncestor(edit_, GA_ROOT) ||
        ::GetPropW(newFocus, kTakingFocusBack) != nullptr) {
        return;
    }
    const LifeWatch watch = life_.Watch();
    if (events_ != nullptr) {
        events_->OnLeave();
    }
    if (watch.Alive()) {
        ::SetTimer(edit_, kLeaveTimer, kFirstLook, nullptr);
    }
}

// A box the focus came back to before the action was over was not left after all.
void EditTextBox::OnLeaveTimer() {
    if (::GetFocus() == edit_) {
        ::KillTimer(edit_, kLeaveTimer);
        return;
    }
    if (UserActionUnderWay(::GetAncestor(edit_, GA_ROOT))) {
        ::SetTimer(edit_, kLeaveTimer, kNextLook, nullptr);
        return;
    }
    ::KillTimer(edit_, kLeaveTimer);
    if (events_ != nullptr) {
        events_->OnLostFocus();
    }
}

void EditTextBox::AcceptDropsOnceIdle() {
    if (dropTicks_ == 0 && edit_ != nullptr) {
        ::SetTimer(edit_, kDropTargetTimer, USER_TIMER_MINIMUM, nullptr);
    }
}

// Programs drag files with OLE; the older drop messages stay open to programs of lower rights
// than an elevated box's, which Windows keeps from sending them otherwise. (Wine filters no
// messages by rights: every program there may send them.) Without OLE on the thread, the older
// messages are the only way in. So they are in a program above the shell: Windows keeps OLE
// drags from Explorer away from it, and does not fall back to the older messages for a window
// that is registered as an OLE target.
void EditTextBox::AcceptDrops() {
    AllowFileDropsFromLowerRights(edit_, *system_.messageFilter);
    if (!RunsAboveShell(*system_.integrity) && com_.EnterOle()) {
        dropTarget_ = FileDropRegistration::Register(
            edit_, [this](const std::vector<std::u16string>& files) { QueueDroppedFiles(files); },
            system_.counts);
    }
}

// The dragging program waits for the drop to be answered: the names are taken after it is done,
// from a message the box posts to itself. A box that is gone by then takes nothing.
void EditTextBox::QueueDroppedFiles(const std::vector<std::u16string>& files) {
    if (droppedFiles_.empty()) {
        ::PostMessageW(edit_, TakeDroppedFilesMessage(), 0, 0);
    }
    droppedFiles_ = files;
}

void EditTextBox::TakeQueuedFiles() {
    const std::vector<std::u16string> files = std::exchange(droppedFiles_, {});
    if (!files.empty() && TakesDropsNow(edit_)) {
        TakeDroppedFiles(files);
    }
}

// An empty list is no file list: the box is left alone.
void EditTextBox::TakeDroppedFiles(const std::vector<std::u16string>& files) {
    if (events_ != nullptr) {
        events_->OnDropFiles(&files);
    }
}

void EditTextBox::OnDestroyed() {
    ::KillTimer(edit_, kLeaveTimer);
    ::KillTimer(edit_, kCompletionTimer);
    ::KillTimer(edit_, kDropTargetTimer);
    ::RemovePropW(edit_, kTakingFocusBack);
    edit_ = nullptr;
}

bool EditTextBox::HandleParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (edit_ == nullptr || reinterpret_cast<HWND>(lParam) != edit_) {
        return false;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        if (events_ != nullptr) {
            events_->OnChange();
        }
        result = 0;
        return true;
    }
    if (message == WM_CTLCOLOREDIT) {
        const auto dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, ToColorRef(foreColor_));
        ::SetBkColor(dc, ToColorRef(backColor_));
        const HBRUSH brush = backBrush_ ? static_cast<HBRUSH>(backBrush_.Get())
                                        : ::GetSysColorBrush(static_cast<int>(backColor_ & 0xFF));
        result = reinterpret_cast<LRESULT>(brush);
        return true;
    }
    return false;
}

// ---- Text and selection ----

std::u16string EditTextBox::Text() const {
    if (edit_ == nullptr) {
        return {};
    }
    const int length = ::GetWindowTextLengthW(edit_);
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(edit_, buffer.data(), length + 1);
    buffer.resize(static_cast<size_t>(std::max(copied, 0)));
    return FromWide(buffer);
}

// Setting the text it already has is no change, and raises none. The change's handler may end
// the box, and with its window the answer of the call that set the text.
void EditTextBox::SetText(const std::u16string& text) {
    if (edit_ == nullptr || text == Text()) {
        return;
    }
    const LifeWatch watch = life_.Watch();
    if (!::SetWindowTextW(edit_, ToWide(text).c_str()) && watch.Alive() && edit_ != nullptr) {
        throw Error(errnum::kOutOfMemory);
    }
}

int32_t EditTextBox::SelStart() const {
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    return static_cast<int32_t>(start);
}

void EditTextBox::SetSelStart(int32_t start) {
    RequireNotNegative(start);
    const int length = ::GetWindowTextLengthW(edit_);
    const int position = std::min(start, length);
    ::SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(position), position);
}

int32_t EditTextBox::SelLength() const {
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    return static_cast<int32_t>(end - start);
}

void EditTextBox::SetSelLength(int32_t length) {
    RequireNotNegative(length);
    const int64_t start = SelStart();
    const int64_t end = std::min<int64_t>(start + length, ::GetWindowTextLengthW(edit_));
    ::SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

std::u16string EditTextBox::SelText() const {
    const std::u16string text = Text();
    const auto start = std::min(static_cast<size_t>(SelStart()), text.size());
    return text.substr(start, static_cast<size_t>(SelLength()));
}

void EditTextBox::SetSelText(const std::u16string& text) {
    ::SendMessageW(edit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(ToWide(text).c_str()));
}

// ---- Appearance ----

void EditTextBox::ApplyBackBrush() {
    if ((backColor_ & olecolor::kSystemFlag) != 0) {
        backBrush_.Reset();
    } else {
        backBrush_.Reset(::CreateSolidBrush(ToColorRef(backColor_)));
    }
    ::InvalidateRect(edit_, nullptr, TRUE);
}

void EditTextBox::SetBackColor(uint32_t color) {
    RequireValidOleColor(color);
    backColor_ = color;
    ApplyBackBrush();
}

void EditTextBox::SetForeColor(uint32_t color) {
    RequireValidOleColor(color);
    foreColor_ = color;
    ::InvalidateRect(edit_, nullptr, TRUE);
}

bool EditTextBox::Enabled() const {
    return edit_ != nullptr && ::IsWindowEnabled(edit_);
}

void EditTextBox::SetEnabled(bool enabled) {
    ::EnableWindow(edit_, enabled ? TRUE : FALSE);
}

// The box draws with a GDI font made from the font object at the box's dots per inch; the old
// GDI font is released only once the EDIT uses the new one.
void EditTextBox::SetFont(FontPtr font) {
    RequireFont(font);
    const LOGFONTW logFont = ToLogFont(*font, fontDpi_);
    UniqueGdiObject gdiFont(::CreateFontIndirectW(&logFont));
    if (!gdiFont) {
        throw Error(errnum::kInvalidPropertyValue);
    }
    ::SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(gdiFont.Get()), TRUE);
    gdiFont_ = std::move(gdiFont);
    font_ = std::move(font);
}

void EditTextBox::SetDpi(UINT dpi) {
    if (dpi != 0 && dpi != fontDpi_) {
        fontDpi_ = dpi;
        SetFont(font_);
    }
}

// The context is the thread's, shared with the other windows: the box sets its state only while
// it has the focus, and again each time it gets the focus back. Whether the box has an input
// method at all is its own and changes at once.
void EditTextBox::SetIMEMode(int16_t mode) {
    const InputMethodSetting setting = InputMethodSettingOf(mode);
    imeMode_ = mode;
    AssociateInputContext(edit_, setting);
    if (::GetFocus() == edit_) {
        SetInputState(edit_, setting);
    }
}

void EditTextBox::ApplyIMEMode() {
    const InputMethodSetting setting = InputMethodSettingOf(imeMode_);
    AssociateInputContext(edit_, setting);
    SetInputState(edit_, setting);
}

void EditTextBox::SetMaxLength(int32_t length) {
    RequireNotNegative(length);
    ::SendMessageW(edit_, EM_SETLIMITTEXT, static_cast<WPARAM>(length), 0);
    maxLength_ = length;
}

// ---- Focus and extent ----

void EditTextBox::SetFocus() {
    ::SetPropW(edit_, kTakingFocusBack, reinterpret_cast<HANDLE>(1));
    ::SetFocus(edit_);
    ::RemovePropW(edit_, kTakingFocusBack);
}

SIZE EditTextBox::CurrentSize() const {
    RECT r = {};
    ::GetWindowRect(edit_, &r);
    return {r.right - r.left, r.bottom - r.top};
}

float EditTextBox::Width() const {
    return static_cast<float>(CurrentSize().cx);
}

float EditTextBox::Height() const {
    return static_cast<float>(CurrentSize().cy);
}

// A size the EDIT already has is not set again: each resize measures and redraws its text.
void EditTextBox::Resize(SIZE size) {
    const SIZE current = CurrentSize();
    if (size.cx != current.cx || size.cy != current.cy) {
        ::SetWindowPos(edit_, nullptr, 0, 0, size.cx, size.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void EditTextBox::SetWidth(float width) {
    Resize({ToPixels(width), CurrentSize().cy});
}

void EditTextBox::SetHeight(float height) {
    Resize({CurrentSize().cx, ToPixels(height)});
}

} // namespace relingo::win32
