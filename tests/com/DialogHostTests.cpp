// The name box in a dialog box, in the system's AtlAxWin, with the message loop of an ATL
// dialog: each message goes first to the control's host window as WM_FORWARDMSG, then to the
// dialog manager. Key strokes sent with SendInput must edit the box as they edit an EDIT, and
// Tab, Shift+Tab, Enter and Esc must stay the dialog's.
#include "tests/com/ComTestSupport.h"
#include "tests/win32support/UserInput.h"
#include "tests/win32support/Win32TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace relingo::test {
namespace {

using AtlAxWinInitFunction = BOOL(WINAPI*)();
using AtlAxGetControlFunction = HRESULT(WINAPI*)(HWND, IUnknown**);

// ATL's message that hands a message to a control's host window before the dialog sees it.
constexpr UINT kForwardMessage = 0x037F; // WM_FORWARDMSG
constexpr WORD kBoxId = 100;
constexpr WORD kOtherId = 101;

// A dialog template in memory: the header, then each item on a DWORD boundary.
class DialogTemplate {
public:
    DialogTemplate(const wchar_t* title, short width, short height) {
        const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME |
                            DS_SETFONT | DS_CENTER;
        Double(style);
        Double(0); // extended style
        Word(0);   // the count of items, filled in by Add
        Words({0, 0, static_cast<WORD>(width), static_cast<WORD>(height)});
        Word(0); // no menu
        Word(0); // the dialog class
        Text(title);
        Word(8); // the font's size in points
        Text(L"MS Shell Dlg");
    }

    void Add(const wchar_t* className, const wchar_t* text, DWORD style, DWORD extendedStyle,
             RECT place, WORD id) {
        words_.resize((words_.size() + 1) / 2 * 2);
        Double(style | WS_CHILD | WS_VISIBLE);
        Double(extendedStyle);
        Words({static_cast<WORD>(place.left), static_cast<WORD>(place.top),
               static_cast<WORD>(place.right - place.left),
               static_cast<WORD>(place.bottom - place.top), id});
        Text(className);
        Text(text);
        Word(0); // no creation data
        ++words_[kItemCount];
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    static constexpr size_t kItemCount = 4;

    void Word(WORD word) { words_.push_back(word); }
    void Words(std::initializer_list<WORD> words) { words_.insert(words_.end(), words); }
    void Double(DWORD value) { Words({LOWORD(value), HIWORD(value)}); }
    void Text(const wchar_t* text) {
        for (; *text != L'\0'; ++text) {
            Word(*text);
        }
        Word(0);
    }

    std::vector<WORD> words_;
};

// The dialog's procedure notes the commands it receives: the buttons' and the dialog manager's.
INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (auto* commands =
                reinterpret_cast<std::vector<int>*>(::GetWindowLongPtrW(dialog, DWLP_USER))) {
            commands->push_back(LOWORD(wParam));
        }
        return TRUE;
    }
    return FALSE;
}

std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}

// The window with the keyboard focus, as the system reports it for the thread in front.
HWND FocusInFront() {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(0, &info) ? info.hwndFocus : nullptr;
}

// Brings the window to the front and lets it take in the display's focus events: Wine lets go
// of the keys the display does not hold down when a window gains the focus, and keys sent in
// that moment are lost.
void BringToFront(HWND window) {
    ::SetForegroundWindow(window);
    PumpUntil([&] { return ::GetForegroundWindow() == window; });
    ::Sleep(100);
    PumpUntil([] { return true; });
}

class DialogHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(activation_.Active());
        atl_ = ::LoadLibraryW(SystemProgram(L"atl.dll").c_str());
        ASSERT_NE(atl_, nullptr);
        const auto init = reinterpret_cast<AtlAxWinInitFunction>(
            reinterpret_cast<void (*)()>(::GetProcAddress(atl_, "AtlAxWinInit")));
        const auto getControl = reinterpret_cast<AtlAxGetControlFunction>(
            reinterpret_cast<void (*)()>(::GetProcAddress(atl_, "AtlAxGetControl")));
        ASSERT_TRUE(init && getControl);
        init();

        DialogTemplate layout(L"Dialog host", 210, 60);
        // WS_EX_CONTROLPARENT lets the dialog manager's Tab step into the control's windows.
        layout.Add(L"AtlAxWin", L"Relingo.FileNameBox", WS_TABSTOP, WS_EX_CONTROLPARENT,
                   {7, 7, 140, 21}, kBoxId);
        layout.Add(L"EDIT", L"", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, {7, 28, 140, 42},
                   kOtherId);
        layout.Add(L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, {155, 7, 203, 21}, IDOK);
        dialog_ =
            ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), layout.Get(), nullptr,
                                         DialogProcedure, reinterpret_cast<LPARAM>(&commands_));
        ASSERT_NE(dialog_, nullptr);
        axWindow_ = ::GetDlgItem(dialog_, kBoxId);
        other_ = ::GetDlgItem(dialog_, kOtherId);
        ok_ = ::GetDlgItem(dialog_, IDOK);
        ASSERT_TRUE(axWindow_ && other_ && ok_);

        ComPtr<IUnknown> control;
        ASSERT_EQ(getControl(axWindow_, &control), S_OK);
        ASSERT_EQ(control.As(&box_), S_OK);
        ComPtr<IOleInPlaceObject> inPlace;
        ASSERT_EQ(control.As(&inPlace), S_OK);
        HWND boxWindow = nullptr;
        ASSERT_EQ(inPlace->GetWindow(&boxWindow), S_OK);
        edit_ = ::GetWindow(boxWindow, GW_CHILD);
        ASSERT_NE(edit_, nullptr);
    }

    void TearDown() override {
        box_.Reset();
        ::DestroyWindow(dialog_);
        PumpUntil([] { return true; });
    }

    // The loop of an ATL dialog: the host window first, then the dialog manager, then the
    // window the message is for.
    bool RunDialogUntil(const std::function<bool()>& condition,
                        std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        for (;;) {
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (::SendMessageW(axWindow_, kForwardMessage, 0,
                                   reinterpret_cast<LPARAM>(&message)) != 0) {
                    continue;
                }
                if (::IsDialogMessageW(dialog_, &message)) {
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

    // Into the box as a user gets there: the dialog in front, a click on the box.
    void FocusTheBox() {
        BringToFront(dialog_);
        ClickOn(edit_);
        ASSERT_TRUE(RunDialogUntil([&] { return ::GetFocus() == edit_; }))
            << "focus on " << ::GetFocus();
    }

    HRESULT SetBoxText(const wchar_t* text) {
        VARIANT value = Text(text);
        const HRESULT hr = PutProperty(box_.Get(), L"Text", value).hr;
        ::VariantClear(&value);
        return hr;
    }

    LONG Number(const wchar_t* property) {
        const auto read = GetProperty(box_.Get(), property);
        return read.value.vt == VT_I4 ? read.value.lVal : -1;
    }

    std::wstring BoxText() {
        const auto text = GetProperty(box_.Get(), L"Text");
        return text.value.vt == VT_BSTR && text.value.bstrVal != nullptr ? text.value.bstrVal : L"";
    }

    OleApartment apartment_;
    ServerActivation activation_;
    HMODULE atl_ = nullptr;
    std::vector<int> commands_;
    HWND dialog_ = nullptr;
    HWND axWindow_ = nullptr;
    HWND other_ = nullptr;
    HWND ok_ = nullptr;
    HWND edit_ = nullptr;
    ComPtr<IDispatch> box_;
};

struct KeyStroke {
    WORD key;
    bool shift = false;
};

TEST_F(DialogHostTest, EditingKeysEditTheBoxAsTheyEditAnEdit) {
    const struct {
        const char* what;
        std::vector<KeyStroke> keys;
        const wchar_t* typedAfter;
        const wchar_t* text;
        LONG selStart;
        LONG selLength;
    } cases[] = {
        {"nothing", {}, L"", L"abcd", 4, 0},
        {"Home", {{VK_HOME}}, L"", L"abcd", 0, 0},
        {"Home, End", {{VK_HOME}, {VK_END}}, L"", L"abcd", 4, 0},
        {"Backspace", {{VK_BACK}}, L"", L"abc", 3, 0},
        {"Home, Delete", {{VK_HOME}, {VK_DELETE}}, L"", L"bcd", 0, 0},
        {"Left, Left, Backspace", {{VK_LEFT}, {VK_LEFT}, {VK_BACK}}, L"", L"acd", 1, 0},
        {"Home, Right, Delete", {{VK_HOME}, {VK_RIGHT}, {VK_DELETE}}, L"", L"acd", 1, 0},
        {"Left, typed x", {{VK_LEFT}}, L"x", L"abcxd", 4, 0},
        {"Shift+Left twice", {{VK_LEFT, true}, {VK_LEFT, true}}, L"", L"abcd", 2, 2},
        {"Home, Shift+Right three times",
         {{VK_HOME}, {VK_RIGHT, true}, {VK_RIGHT, true}, {VK_RIGHT, true}},
         L"",
         L"abcd",
         0,
         3},
        {"Shift+Home, Delete", {{VK_HOME, true}, {VK_DELETE}}, L"", L"", 0, 0},
        {"Shift+Left twice, typed x", {{VK_LEFT, true}, {VK_LEFT, true}}, L"x", L"abx", 3, 0},
        {"Home, Shift+End, Backspace", {{VK_HOME}, {VK_END, true}, {VK_BACK}}, L"", L"", 0, 0},
    };
    FocusTheBox();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(SetBoxText(L""), S_OK);
        TypeText(L"abcd");
        ASSERT_TRUE(RunDialogUntil([&] { return WindowText(edit_) == L"abcd"; }))
            << Utf8(WindowText(edit_));
        for (const auto& stroke : c.keys) {
            if (stroke.shift) {
                PressKey(stroke.key, {VK_SHIFT});
            } else {
                PressKey(stroke.key);
            }
        }
        TypeText(c.typedAfter);
        const bool edited = RunDialogUntil([&] {
            return BoxText() == c.text && Number(L"SelStart") == c.selStart &&
                   Number(L"SelLength") == c.selLength;
        });
        EXPECT_TRUE(edited) << "text \"" << Utf8(BoxText()) << "\" at " << Number(L"SelStart")
                            << " with " << Number(L"SelLength") << " selected";
        EXPECT_EQ(::GetFocus(), edit_);
    }
    EXPECT_EQ(commands_, std::vector<int>{});
}

TEST_F(DialogHostTest, TabAndShiftTabGoAroundTheDialogThroughTheBox) {
    const struct {
        const char* what;
        bool shift;
        HWND* from;
        HWND* to;
    } cases[] = {
        {"Tab from the box", false, &edit_, &other_},
        {"Shift+Tab back into the box", true, &other_, &edit_},
        {"Shift+Tab from the box", true, &edit_, &ok_},
        {"Tab from the last stop into the box", false, &ok_, &edit_},
    };
    FocusTheBox();
    ASSERT_EQ(SetBoxText(L"C:\\name.txt"), S_OK);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(::GetFocus(), *c.from);
        PressKey(VK_TAB,
                 c.shift ? std::initializer_list<WORD>{VK_SHIFT} : std::initializer_list<WORD>{});
        EXPECT_TRUE(RunDialogUntil([&] { return FocusInFront() == *c.to; }))
            << "focus on " << FocusInFront();
    }
    // The dialog manager selects all of a box it tabs into, as it does for an EDIT.
    EXPECT_EQ(Number(L"SelStart"), 0);
    EXPECT_EQ(Number(L"SelLength"), 11);
    EXPECT_EQ(commands_, std::vector<int>{});
}

TEST_F(DialogHostTest, EnterPressesTheDefaultButtonAndEscCancelsWhileTheBoxKeepsTheFocus) {
    const struct {
        const char* what;
        WORD key;
        int command;
    } cases[] = {
        {"Enter", VK_RETURN, IDOK},
        {"Esc", VK_ESCAPE, IDCANCEL},
    };
    FocusTheBox();
    TypeText(L"ab");
    ASSERT_TRUE(RunDialogUntil([&] { return WindowText(edit_) == L"ab"; }));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        commands_.clear();
        PressKey(c.key);
        EXPECT_TRUE(RunDialogUntil([&] { return !commands_.empty(); }));
        EXPECT_EQ(commands_, std::vector<int>{c.command});
        EXPECT_EQ(::GetFocus(), edit_);
        EXPECT_EQ(BoxText(), L"ab");
    }
}

} // namespace
} // namespace relingo::test
