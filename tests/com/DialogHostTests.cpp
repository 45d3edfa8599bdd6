// The name box in a dialog box, in the system's AtlAxWin, with the message loop of an ATL
// dialog: each message goes first to the control's host window as WM_FORWARDMSG, then to the
// dialog manager. Key strokes sent with SendInput must edit the box as they edit an EDIT, and
// Tab, Shift+Tab, Enter and Esc must stay the dialog's.
#include "tests/com/ComTestSupport.h"
#include "tests/win32support/UserInput.h"
#include "tests/win32support/Win32TestSupport.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace relingo::test {
namespace {

// ATL's message that hands a message to a control's host window before the dialog sees it.
constexpr UINT kForwardMessage = 0x037F; // WM_FORWARDMSG
constexpr WORD kBoxId = 100;
constexpr WORD kOtherId = 101;
constexpr WORD kShift = 0x100; // added to a key of the tables: pressed with Shift held

// The box's Text, SelStart and SelLength.
using BoxState = std::tuple<std::wstring, LONG, LONG>;

// The dialog's template in memory: the header, then each item on a DWORD boundary. The box, in
// AtlAxWin with WS_EX_CONTROLPARENT so that the dialog manager's Tab steps into its windows, then
// an EDIT and the default button, all tab stops.
std::vector<WORD> DialogTemplate() {
    std::vector<WORD> words;
    const auto add = [&](std::initializer_list<WORD> added) { words.insert(words.end(), added); };
    const auto text = [&](std::wstring_view characters) {
        words.insert(words.end(), characters.begin(), characters.end());
        words.push_back(0);
    };
    const auto item = [&](DWORD style, DWORD extended, std::initializer_list<WORD> placeAndId,
                          const wchar_t* className, const wchar_t* title) {
        words.resize((words.size() + 1) / 2 * 2);
        style |= WS_CHILD | WS_VISIBLE | WS_TABSTOP;
        add({LOWORD(style), HIWORD(style), LOWORD(extended), HIWORD(extended)});
        add(placeAndId); // x, y, width and height in dialog units, then the id
        text(className);
        text(title);
        add({0}); // no creation data
    };
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME | DS_CENTER;
    // The style, no extended style, three items, the place and size, no menu, the dialog class.
    add({LOWORD(style), HIWORD(style), 0, 0, 3, 0, 0, 210, 60, 0, 0});
    text(L"Dialog host");
    item(0, WS_EX_CONTROLPARENT, {7, 7, 133, 14, kBoxId}, L"AtlAxWin", L"Relingo.FileNameBox");
    item(WS_BORDER | ES_AUTOHSCROLL, 0, {7, 28, 133, 14, kOtherId}, L"EDIT", L"");
    item(BS_DEFPUSHBUTTON, 0, {155, 7, 48, 14, IDOK}, L"BUTTON", L"OK");
    return words;
}

// The dialog's procedure notes the commands it receives: the buttons' and the dialog manager's.
INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    }
    auto* commands = reinterpret_cast<std::vector<int>*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && commands != nullptr) {
        commands->push_back(LOWORD(wParam));
    }
    return message == WM_INITDIALOG || message == WM_COMMAND;
}

class DialogHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(activation_.Active());
        const HMODULE atl = ::LoadLibraryW(SystemProgram(L"atl.dll").c_str());
        ASSERT_NE(atl, nullptr);
        const auto init = reinterpret_cast<BOOL(WINAPI*)()>(
            reinterpret_cast<void (*)()>(::GetProcAddress(atl, "AtlAxWinInit")));
        const auto getControl = reinterpret_cast<HRESULT(WINAPI*)(HWND, IUnknown**)>(
            reinterpret_cast<void (*)()>(::GetProcAddress(atl, "AtlAxGetControl")));
        ASSERT_TRUE(init && getControl);
        init();
        const auto layout = DialogTemplate();
        dialog_ = ::CreateDialogIndirectParamW(
            ::GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(layout.data()),
            nullptr, DialogProcedure, reinterpret_cast<LPARAM>(&commands_));
        ASSERT_NE(dialog_, nullptr);
        axWindow_ = ::GetDlgItem(dialog_, kBoxId);
        other_ = ::GetDlgItem(dialog_, kOtherId);
        ok_ = ::GetDlgItem(dialog_, IDOK);
        ComPtr<IUnknown> control;
        ASSERT_EQ(getControl(axWindow_, &control), S_OK);
        ASSERT_EQ(control.As(&box_), S_OK);
        // The box's window fills the host's; the EDIT the keys go to is the box's child.
        edit_ = ::GetWindow(::GetWindow(axWindow_, GW_CHILD), GW_CHILD);
        ASSERT_TRUE(other_ && ok_ && edit_);
        // Into the box as a user gets there: the dialog in front, a click on the box.
        BringToFront(dialog_);
        ClickOn(edit_);
        ASSERT_TRUE(RunDialogUntil([&] { return ::GetFocus() == edit_; }));
    }

    void TearDown() override {
        box_.Reset();
        ::DestroyWindow(dialog_);
        PumpUntil([] { return true; });
    }

    // The loop of an ATL dialog: the host window first, then the dialog manager, then the
    // window the message is for.
    bool RunDialogUntil(const std::function<bool()>& condition) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (MSG message;; ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (::SendMessageW(axWindow_, kForwardMessage, 0,
                                   reinterpret_cast<LPARAM>(&message)) == 0 &&
                    !::IsDialogMessageW(dialog_, &message)) {
                    ::TranslateMessage(&message);
                    ::DispatchMessageW(&message);
                }
            }
            const bool met = condition();
            if (met || std::chrono::steady_clock::now() > end) {
                return met;
            }
        }
    }

    void Type(const wchar_t* text) {
        TypeText(text);
        ASSERT_TRUE(RunDialogUntil([&] { return WindowText(edit_) == text; }));
    }

    void PressKeys(std::initializer_list<WORD> keys) {
        for (WORD key : keys) {
            PressKey(key & 0xFF, (key & kShift) != 0 ? std::initializer_list<WORD>{VK_SHIFT}
                                                     : std::initializer_list<WORD>{});
        }
    }

    BoxState Box() {
        const auto text = GetProperty(box_.Get(), L"Text");
        return {text.value.bstrVal != nullptr ? text.value.bstrVal : L"",
                GetProperty(box_.Get(), L"SelStart").value.lVal,
                GetProperty(box_.Get(), L"SelLength").value.lVal};
    }

    OleApartment apartment_;
    ServerActivation activation_;
    std::vector<int> commands_;
    HWND dialog_ = nullptr;
    HWND axWindow_ = nullptr;
    HWND other_ = nullptr;
    HWND ok_ = nullptr;
    HWND edit_ = nullptr;
    ComPtr<IDispatch> box_;
};

TEST_F(DialogHostTest, EditingKeysEditTheBoxAsTheyEditAnEdit) {
    // The keys pressed after "abcd" is typed into the empty box ('X' types an x), and the box's
    // state afterwards.
    const struct {
        std::initializer_list<WORD> keys;
        BoxState box;
    } cases[] = {
        {{}, {L"abcd", 4, 0}},
        {{VK_HOME}, {L"abcd", 0, 0}},
        {{VK_BACK}, {L"abc", 3, 0}},
        {{VK_HOME, VK_DELETE}, {L"bcd", 0, 0}},
        {{VK_LEFT, VK_LEFT, VK_BACK}, {L"acd", 1, 0}},
        {{VK_LEFT, 'X'}, {L"abcxd", 4, 0}},
        {{VK_LEFT | kShift, VK_LEFT | kShift}, {L"abcd", 2, 2}},
        {{VK_HOME | kShift, VK_DELETE}, {L"", 0, 0}},
        {{VK_LEFT | kShift, VK_LEFT | kShift, 'X'}, {L"abx", 3, 0}},
    };
    VARIANT empty = {};
    empty.vt = VT_BSTR; // a null BSTR: the empty text
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        ASSERT_EQ(PutProperty(box_.Get(), L"Text", empty).hr, S_OK);
        Type(L"abcd");
        PressKeys(c.keys);
        RunDialogUntil([&] { return Box() == c.box; });
        EXPECT_EQ(Box(), c.box);
        EXPECT_EQ(::GetFocus(), edit_);
    }
    EXPECT_EQ(commands_, std::vector<int>{});
}

// Tab and Shift+Tab go around the dialog through the box; Enter and Esc are the dialog's
// commands while the box keeps the focus and its text.
TEST_F(DialogHostTest, TabEnterAndEscStayTheDialogs) {
    const struct {
        WORD key;
        HWND* focus;
        std::vector<int> commands;
    } steps[] = {{VK_TAB, &other_, {}},       {VK_TAB | kShift, &edit_, {}},
                 {VK_TAB | kShift, &ok_, {}}, {VK_TAB, &edit_, {}},
                 {VK_RETURN, &edit_, {IDOK}}, {VK_ESCAPE, &edit_, {IDCANCEL}}};
    Type(L"C:\\name.txt");
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        commands_.clear();
        PressKeys({steps[i].key});
        ASSERT_TRUE(RunDialogUntil([&] {
            return ::GetFocus() == *steps[i].focus && commands_.size() == steps[i].commands.size();
        })) << "focus on "
            << ::GetFocus();
        EXPECT_EQ(commands_, steps[i].commands);
    }
    // The dialog manager selects all of a box it tabs into, as it does for an EDIT.
    EXPECT_EQ(Box(), (BoxState{L"C:\\name.txt", 0, 11}));
}

} // namespace
} // namespace relingo::test
