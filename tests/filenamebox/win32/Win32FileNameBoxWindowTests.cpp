// The real control in a real window: typed characters through WM_CHAR, EN_CHANGE, dropped
// files, resizing, keys and mouse, colours and fonts, Tab, leaving a bad box, and the input
// method each IMEMode gives the box.
#include "filenamebox/FileNameBox.h"
#include "filenamebox/win32/AccessibleName.h"
#include "filenamebox/win32/EditTextBox.h"
#include "filenamebox/win32/FileNameBoxWindow.h"
#include "filenamebox/win32/Win32ControlHost.h"
#include "platform/Error.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32System.h"
#include "tests/win32support/Win32TestSupport.h"

#include <imm.h>
#include <ole2.h>
#include <oleacc.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace relingo::win32 {
namespace {

using namespace std::chrono_literals;
using test::DialogWatcher;
using Log = std::vector<std::string>;

constexpr wchar_t kTopClass[] = L"Relingo.TestTopWindow";
constexpr int kBoxId = 101;
constexpr int kOtherId = 102;

class Recorder : public FileNameBoxEvents {
public:
    Log log;
    std::vector<int16_t> keyPresses;
    std::optional<int16_t> replaceKeyAscii;
    std::optional<int16_t> replaceKeyCode;
    bool failKeyPress = false;

    std::function<void()> onChange;

    void Change() override {
        log.push_back("Change");
        if (onChange) {
            onChange();
        }
    }
    void Click() override { log.push_back("Click"); }
    void DblClick() override { log.push_back("DblClick"); }
    void KeyDown(int16_t& keyCode, int16_t&) override {
        log.push_back("KeyDown " + std::to_string(keyCode));
        if (replaceKeyCode) {
            keyCode = *replaceKeyCode;
        }
    }
    void KeyPress(int16_t& keyAscii) override {
        keyPresses.push_back(keyAscii);
        if (failKeyPress) {
            keyAscii = static_cast<int16_t>(u'F'); // half done when it fails
            throw Error(errnum::kOutOfMemory);
        }
        if (replaceKeyAscii) {
            keyAscii = *replaceKeyAscii;
        }
    }
    void KeyUp(int16_t& keyCode, int16_t&) override {
        log.push_back("KeyUp " + std::to_string(keyCode));
    }
    void MouseDown(int16_t& button, int16_t& shift, float& x, float& y) override {
        Mouse("MouseDown", button, shift, x, y);
    }
    void MouseMove(int16_t& button, int16_t& shift, float& x, float& y) override {
        Mouse("MouseMove", button, shift, x, y);
    }
    void MouseUp(int16_t& button, int16_t& shift, float& x, float& y) override {
        Mouse("MouseUp", button, shift, x, y);
    }

private:
    void Mouse(const char* name, int16_t button, int16_t shift, float x, float y) {
        log.push_back(std::string(name) + " " + std::to_string(button) + " " +
                      std::to_string(shift) + " " + std::to_string(std::lround(x)) + " " +
                      std::to_string(std::lround(y)));
    }
};

// Dispatches this thread's messages until none is left; a queue that never empties (boxes
// handing the focus to and fro) stops at the limit instead of hanging the test.
void PumpUntilIdle(std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    MSG message;
    while (std::chrono::steady_clock::now() < end &&
           ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// Dispatches this thread's messages until the condition holds or the limit passes.
template <typename Condition>
bool PumpUntil(Condition condition, std::chrono::milliseconds limit = 20s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        PumpUntilIdle();
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

INT_PTR CALLBACK IgnoringDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// A modeless dialog, as the host is: the dialog manager keeps the control that had the focus
// and gives the focus back to it when the window is active again (after a message box, say).
// Its class is its own, so that the dialog watcher takes it for no message box.
HWND CreateTopWindow() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ::DefDlgProcW;
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kTopClass;
    ::RegisterClassExW(&windowClass);

    // DLGTEMPLATE, then no menu, the class name and an empty title, each WORD-aligned.
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD));
    DLGTEMPLATE header = {};
    header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    header.dwExtendedStyle = WS_EX_CONTROLPARENT;
    header.x = 20;
    header.y = 20;
    header.cx = 340;
    header.cy = 140;
    std::memcpy(words.data(), &header, sizeof header);
    words.push_back(0); // no menu
    for (const wchar_t* c = kTopClass; *c != L'\0'; ++c) {
        words.push_back(static_cast<WORD>(*c));
    }
    words.push_back(0);
    words.push_back(0); // no title
    std::vector<DWORD> aligned((words.size() + 1) / 2);
    std::memcpy(aligned.data(), words.data(), words.size() * sizeof(WORD));
    return ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                        reinterpret_cast<const DLGTEMPLATE*>(aligned.data()),
                                        nullptr, IgnoringDialogProc, 0);
}

HWND CreateEdit(HWND parent, int id, int top) {
    return ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 10, top, 200, 24,
                             parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
}

// A drop of the given files as Explorer hands it over: a DROPFILES block of wide names.
HDROP MakeDrop(const std::vector<std::wstring>& files) {
    size_t chars = 2; // the closing NUL, and one to spare for an empty list
    for (const auto& file : files) {
        chars += file.size() + 1;
    }
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* names = reinterpret_cast<wchar_t*>(reinterpret_cast<BYTE*>(header) + sizeof(DROPFILES));
    for (const auto& file : files) {
        std::copy(file.begin(), file.end(), names);
        names += file.size() + 1;
    }
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

std::u16string TextOf(HWND window) {
    wchar_t buffer[1024] = {};
    ::SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer));
    return FromWide(buffer);
}

class FileNameBoxWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
        top_ = CreateTopWindow();
        ASSERT_NE(top_, nullptr);
        window_ = std::make_unique<FileNameBoxWindow>(top_, RECT{10, 10, 310, 34}, kBoxId, system_,
                                                      host_, &events_);
        other_ = CreateEdit(top_, kOtherId, 60);
        Box().ReadProperties(PropertyBag{});
        // Without a window manager the activation arrives asynchronously; wait for it, and
        // ask for the focus until the window really has it.
        ::SetForegroundWindow(top_);
        ASSERT_TRUE(PumpUntil([&] {
            if (::GetFocus() != Edit()) {
                ::SetFocus(Edit());
            }
            return ::GetActiveWindow() == top_ && ::GetFocus() == Edit();
        }));
        PumpUntilIdle();
        ASSERT_EQ(::GetFocus(), Edit());
        events_.log.clear();
    }
    void TearDown() override {
        window_.reset();
        ::DestroyWindow(top_);
        PumpUntilIdle();
        ::OleUninitialize();
    }

    FileNameBox& Box() { return window_->Box(); }
    HWND Edit() const { return window_->EditHandle(); }
    void TypeChars(std::u16string_view chars) {
        for (const char16_t c : chars) {
            ::SendMessageW(Edit(), WM_CHAR, c, 1);
        }
    }
    // Moves the focus to the other control and waits until the box has its focus back after
    // showing the expected number of boxes in all.
    bool LeaveAndWaitForFocusBack(DialogWatcher& watcher, size_t boxes) {
        ::SetFocus(other_);
        const bool done =
            PumpUntil([&] { return watcher.Seen().size() >= boxes && ::GetFocus() == Edit(); });
        PumpUntilIdle();
        return done;
    }

    Win32System system_;
    Win32ControlHost host_;
    Recorder events_;
    HWND top_ = nullptr;
    HWND other_ = nullptr;
    std::unique_ptr<FileNameBoxWindow> window_;
};

// ---- Typing ----

TEST_F(FileNameBoxWindowTest, TypedRefusedCharactersAndEnterReachKeyPressAsZero) {
    Box().SetText(u"C:\\x");
    Box().SetSelStart(4);
    events_.log.clear();
    const std::u16string refused = u"/<>?|*'\"\r";
    TypeChars(refused);
    EXPECT_EQ(TextOf(Edit()), u"C:\\x");
    EXPECT_EQ(events_.keyPresses, std::vector<int16_t>(refused.size(), 0));
    EXPECT_TRUE(events_.log.empty()); // no Change

    TypeChars(u":\\ a");
    EXPECT_EQ(TextOf(Edit()), u"C:\\x:\\ a");
}

TEST_F(FileNameBoxWindowTest, CharactersFromTheInputMethodPassTheFilterToo) {
    for (const char16_t c : std::u16string(u"C*:?\\テ")) {
        ::SendMessageW(Edit(), WM_IME_CHAR, c, 1);
    }
    PumpUntilIdle();
    EXPECT_EQ(Box().Text(), u"C:\\テ");
    EXPECT_EQ(events_.keyPresses,
              (std::vector<int16_t>{u'C', 0, u':', 0, u'\\', static_cast<int16_t>(u'テ')}));
}

TEST_F(FileNameBoxWindowTest, AHostThatZeroesKeyAsciiKeepsTheCharacterOut) {
    events_.replaceKeyAscii = 0;
    TypeChars(u"abc");
    EXPECT_EQ(TextOf(Edit()), u"");
    events_.replaceKeyAscii = static_cast<int16_t>(u'Q');
    TypeChars(u"a");
    EXPECT_EQ(TextOf(Edit()), u"Q");
}

// A host handler that fails leaves the character's fate unknown; none of them is entered, a
// refused one least of all.
TEST_F(FileNameBoxWindowTest, WhenTheHostsKeyPressFailsNoCharacterIsEntered) {
    Box().SetText(u"C:\\x");
    Box().SetSelStart(4);
    events_.failKeyPress = true;
    TypeChars(u"*?a");
    for (const char16_t c : std::u16string(u"|b")) {
        ::SendMessageW(Edit(), WM_IME_CHAR, c, 1);
    }
    PumpUntilIdle();
    EXPECT_EQ(TextOf(Edit()), u"C:\\x");
    EXPECT_EQ(events_.keyPresses, (std::vector<int16_t>{0, 0, u'a', 0, u'b'}));
    events_.failKeyPress = false;
    TypeChars(u"y");
    EXPECT_EQ(TextOf(Edit()), u"C:\\xy");
}

TEST_F(FileNameBoxWindowTest, CompletionIsOnAndTheFilterStillHolds) {
    EXPECT_TRUE(PumpUntil([&] { return window_->AutoCompleteOn(); }));
    TypeChars(u"C:\\wi*");
    EXPECT_EQ(Box().Text(), u"C:\\wi");
}

// Completion is not set up while the window is being made: a box gets it once it has first had
// the focus and the window is idle.
TEST_F(FileNameBoxWindowTest, CompletionWaitsForTheBoxsFirstFocus) {
    FileNameBoxWindow second(top_, RECT{10, 80, 310, 104}, kBoxId + 10, system_, host_);
    second.Box().ReadProperties(PropertyBag{});
    PumpUntilIdle();
    EXPECT_FALSE(second.AutoCompleteOn());
    ::SetFocus(second.EditHandle());
    EXPECT_TRUE(PumpUntil([&] { return second.AutoCompleteOn(); }));
}

// A start whose first paint outlasts the completion timer, which is then long due: the messages
// waiting are all handled without completion; it comes only after the thread has waited.
TEST_F(FileNameBoxWindowTest, CompletionWaitsUntilTheThreadHasWaitedForInput) {
    FileNameBoxWindow second(top_, RECT{10, 80, 310, 104}, kBoxId + 10, system_, host_);
    second.Box().ReadProperties(PropertyBag{});
    PumpUntilIdle();
    ::SetFocus(second.EditHandle());
    ::Sleep(100);
    PumpUntilIdle();
    EXPECT_FALSE(second.AutoCompleteOn());
    EXPECT_TRUE(PumpUntil([&] { return second.AutoCompleteOn(); }));
}

TEST_F(FileNameBoxWindowTest, MaxLengthLimitsTyping) {
    Box().SetMaxLength(3);
    TypeChars(u"abcdef");
    EXPECT_EQ(Box().Text(), u"abc");
    try {
        Box().SetMaxLength(-1);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), errnum::kInvalidPropertyValue);
    }
    EXPECT_EQ(Box().MaxLength(), 3);
}

// ---- Change ----

TEST_F(FileNameBoxWindowTest, EveryChangeOfTheTextRaisesChangeOnce) {
    TypeChars(u"a");
    EXPECT_EQ(events_.log, Log{"Change"});
    Box().SetText(u"C:\\x");
    Box().SetText(u"C:\\x"); // the same text again is no change
    EXPECT_EQ(events_.log, (Log{"Change", "Change"}));
    Box().Cls();
    EXPECT_EQ(events_.log, (Log{"Change", "Change", "Change"}));
    EXPECT_EQ(TextOf(Edit()), u"");
}

TEST_F(FileNameBoxWindowTest, SelectionThroughTheEdit) {
    Box().SetText(u"C:\\folder\\file.txt");
    Box().SetSelStart(3);
    Box().SetSelLength(6);
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(Edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 3u);
    EXPECT_EQ(end, 9u);
    EXPECT_EQ(Box().SelText(), u"folder");
    Box().SetSelText(u"dir");
    EXPECT_EQ(Box().Text(), u"C:\\dir\\file.txt");
    Box().SetSelStart(1000);
    EXPECT_EQ(Box().SelStart(), 15);
}

// ---- Drops ----

// Files dropped the older way: the first is taken, unless the box or its window is disabled (a
// modal box is up, the box's own check among them).
TEST_F(FileNameBoxWindowTest, ADropTheOlderWayTakesTheFirstFileWhileTheBoxTakesInput) {
    EXPECT_TRUE(::GetWindowLongW(Edit(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    const struct {
        const char* what;
        std::vector<std::wstring> files;
        bool boxEnabled;
        bool windowEnabled;
        std::u16string text;
    } cases[] = {
        {"three files",
         {L"C:\\Data\\一.txt", L"C:\\two.txt", L"C:\\three.txt"},
         true,
         true,
         u"C:\\Data\\一.txt"},
        {"no file", {}, true, true, u"C:\\old"},
        {"a disabled box", {L"C:\\two.txt"}, false, true, u"C:\\old"},
        {"under a modal box", {L"C:\\two.txt"}, true, false, u"C:\\old"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Box().SetText(u"C:\\old");
        Box().SetEnabled(c.boxEnabled);
        ::EnableWindow(top_, c.windowEnabled);
        events_.log.clear();
        ::SendMessageW(Edit(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(c.files)), 0);
        EXPECT_EQ(Box().Text(), c.text);
        EXPECT_EQ(events_.log, c.text != u"C:\\old" ? Log{"Change"} : Log{});
        ::EnableWindow(top_, TRUE);
    }
}

// ---- Drags from another program, through OLE ----

TEST_F(FileNameBoxWindowTest, AnotherProgramsDragIsTakenOrRefusedByWhatItCarries) {
    const struct {
        const char* what;
        const wchar_t* offered; // what the dragging program offers, and how
        bool disabled;
        DWORD effect; // as the drag comes over the box, and at the drop
        std::u16string text;
    } cases[] = {
        {"two files", L"C:\\Data\\一.txt C:\\two.txt", false, DROPEFFECT_COPY, u"C:\\Data\\一.txt"},
        {"a file to link only", L"/link C:\\linked.txt", false, DROPEFFECT_LINK, u"C:\\linked.txt"},
        {"text", L"/text C:\\text.txt", false, DROPEFFECT_NONE, u"C:\\old"},
        {"a file onto a disabled box", L"C:\\two.txt", true, DROPEFFECT_NONE, u"C:\\old"},
    };
    ASSERT_TRUE(test::WaitForDropTarget(Edit()));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Box().SetText(u"C:\\old");
        Box().SetEnabled(!c.disabled);
        events_.log.clear();
        const test::DragOutcome outcome = test::DragOnto(Edit(), c.offered);
        PumpUntilIdle();
        EXPECT_TRUE(outcome.dropped);
        EXPECT_EQ(outcome.entered, c.effect);
        EXPECT_EQ(outcome.effect, c.effect);
        EXPECT_EQ(Box().Text(), c.text);
        EXPECT_EQ(std::count(events_.log.begin(), events_.log.end(), "Change"),
                  c.effect != DROPEFFECT_NONE ? 1 : 0);
    }
}

// The dragging program waits in its drag loop until the drop is answered: the box takes the files
// after that, so that a Change handler that takes its time (a message box, say) holds up no
// other program.
TEST_F(FileNameBoxWindowTest, TheDraggingProgramIsDoneBeforeTheChangeIsRaised) {
    ASSERT_TRUE(test::WaitForDropTarget(Edit()));
    UniqueKernelHandle source;
    std::optional<bool> sourceDone;
    // The handler waits as a message box does, handling the thread's messages meanwhile.
    events_.onChange = [&] {
        sourceDone =
            PumpUntil([&] { return ::WaitForSingleObject(source.Get(), 0) == WAIT_OBJECT_0; }, 10s);
    };
    const test::DragOutcome outcome = test::DragOnto(Edit(), L"C:\\two.txt", [&](HANDLE process) {
        HANDLE own = nullptr;
        ::DuplicateHandle(::GetCurrentProcess(), process, ::GetCurrentProcess(), &own, SYNCHRONIZE,
                          FALSE, 0);
        source.Reset(own);
    });
    EXPECT_TRUE(PumpUntil([&] { return sourceDone.has_value(); }));
    EXPECT_EQ(outcome.effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(sourceDone, true);
    EXPECT_EQ(Box().Text(), u"C:\\two.txt");
}

std::vector<std::pair<HWND, UINT>> opened; // the messages the filter below was asked to let in

BOOL WINAPI RecordOpenedMessage(HWND window, UINT message, DWORD action, PCHANGEFILTERSTRUCT) {
    if (action == MSGFLT_ALLOW) {
        opened.emplace_back(window, message);
    }
    return TRUE;
}

using Level = std::optional<DWORD>;
constexpr DWORD kMedium = SECURITY_MANDATORY_MEDIUM_RID;
constexpr DWORD kHigh = SECURITY_MANDATORY_HIGH_RID;

// Once idle, the EDIT alone is opened to the older drop messages from programs of lower rights.
// OLE drops need OLE on the thread, and a program that runs no higher than the shell: Windows
// keeps OLE drags from Explorer away from an elevated one, which takes the older messages only.
TEST(EditTextBoxDropsTest, TheEditAloneIsOpenedToOlderDropsAndOleDropsNeedOleBesideTheShell) {
    const MessageFilterFunctions recorder{&RecordOpenedMessage};
    const struct {
        const char* what;
        DWORD apartment;
        Level (*own)();
        Level (*shell)();
        bool oleDrops;
    } cases[] = {
        {"no OLE", COINIT_MULTITHREADED, nullptr, nullptr, false},
        {"the system's levels", COINIT_APARTMENTTHREADED, nullptr, nullptr, true},
        {"above the shell", COINIT_APARTMENTTHREADED, [] { return Level(kHigh); },
         [] { return Level(kMedium); }, false},
        {"at the shell's level", COINIT_APARTMENTTHREADED, [] { return Level(kHigh); },
         [] { return Level(kHigh); }, true},
        {"no shell", COINIT_APARTMENTTHREADED, [] { return Level(kHigh); }, [] { return Level(); },
         true},
        {"no token", COINIT_APARTMENTTHREADED, [] { return Level(); },
         [] { return Level(kMedium); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        opened.clear();
        const IntegrityQueries levels{c.own, c.shell};
        BoxSystem system;
        system.messageFilter = &recorder;
        if (c.own != nullptr) {
            system.integrity = &levels;
        }
        std::thread([&] {
            ::CoInitializeEx(nullptr, c.apartment);
            const HWND parent = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 200, 40, HWND_MESSAGE,
                                                  nullptr, nullptr, nullptr);
            {
                EditTextBox box(parent, 1, nullptr, system);
                box.AcceptDropsOnceIdle();
                EXPECT_TRUE(PumpUntil([&] { return opened.size() >= 3; }));
                const HWND edit = box.Handle();
                EXPECT_EQ(opened, (std::vector<std::pair<HWND, UINT>>{
                                      {edit, WM_DROPFILES}, {edit, WM_COPYDATA}, {edit, 0x0049}}));
                EXPECT_EQ(box.TakesOleDrops(), c.oleDrops);
            }
            ::DestroyWindow(parent);
            ::CoUninitialize();
        }).join();
    }
}

// The server that holds a box counts its objects for other programs: the drop target while the
// box is registered, and the accessible object while a screen reader holds it.
long liveObjects = 0;

TEST_F(FileNameBoxWindowTest, TheBoxsObjectsForOtherProgramsAreCountedWhileTheyLive) {
    BoxSystem system;
    system.counts = {[]() noexcept { ++liveObjects; }, []() noexcept { --liveObjects; }};
    const HWND label = ::CreateWindowExW(0, L"STATIC", L"&Name", WS_CHILD | WS_VISIBLE, 10, 60, 80,
                                         20, top_, nullptr, nullptr, nullptr);
    auto box = std::make_unique<FileNameBoxWindow>(top_, RECT{100, 60, 310, 84}, kOtherId + 1,
                                                   system_, host_, nullptr, system);
    ASSERT_TRUE(test::WaitForDropTarget(box->EditHandle()));
    EXPECT_EQ(liveObjects, 1);
    const LRESULT answer =
        ::SendMessageW(box->EditHandle(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    // From the system folder's library, as a screen reader has it.
    const auto objectFromLresult = FindFunction<decltype(&::ObjectFromLresult)>(
        SystemLibrary(L"oleacc.dll"), "ObjectFromLresult");
    ASSERT_NE(objectFromLresult, nullptr);
    IAccessible* object = nullptr;
    ASSERT_EQ(
        objectFromLresult(answer, __uuidof(IAccessible), 0, reinterpret_cast<void**>(&object)),
        S_OK);
    EXPECT_EQ(liveObjects, 2);
    object->Release();
    EXPECT_EQ(liveObjects, 1);
    box.reset();
    EXPECT_EQ(liveObjects, 0);
    ::DestroyWindow(label);
}

// ---- Extent ----

TEST_F(FileNameBoxWindowTest, TheEditFillsTheBoxAfterASize) {
    for (const SIZE size : {SIZE{420, 26}, SIZE{57, 19}, SIZE{1, 1}}) {
        window_->Move(RECT{20, 30, 20 + size.cx, 30 + size.cy});
        RECT edit = {};
        ::GetWindowRect(Edit(), &edit);
        ::MapWindowPoints(HWND_DESKTOP, window_->Handle(), reinterpret_cast<POINT*>(&edit), 2);
        EXPECT_EQ(edit.left, 0);
        EXPECT_EQ(edit.top, 0);
        EXPECT_EQ(edit.right - edit.left, size.cx);
        EXPECT_EQ(edit.bottom - edit.top, size.cy);
    }
}

// ---- Keys and mouse ----

TEST_F(FileNameBoxWindowTest, AKeyDownHandlerCanKeepTheKeyFromTheEdit) {
    Box().SetText(u"abc");
    Box().SetSelStart(0);
    events_.log.clear();
    events_.replaceKeyCode = 0;
    ::SendMessageW(Edit(), WM_KEYDOWN, VK_DELETE, 1);
    ::SendMessageW(Edit(), WM_KEYUP, VK_DELETE, 0xC0000001);
    EXPECT_EQ(Box().Text(), u"abc");
    events_.replaceKeyCode.reset();
    ::SendMessageW(Edit(), WM_KEYDOWN, VK_DELETE, 1);
    EXPECT_EQ(Box().Text(), u"bc");
    EXPECT_EQ(events_.log, (Log{"KeyDown 46", "KeyUp 46", "KeyDown 46", "Change"}));
}

TEST_F(FileNameBoxWindowTest, MouseEventsArriveInTwipsWithClicks) {
    // The point inside the EDIT's border, in the box's own pixels.
    POINT origin = {0, 0};
    ::MapWindowPoints(Edit(), window_->Handle(), &origin, 1);
    const double twipsPerPixel = 1440.0 / DpiFunctions::OfSystem().ForWindow(top_);
    const auto twips = [&](int pixels) {
        return std::to_string(std::lround(pixels * twipsPerPixel));
    };
    const std::string at = twips(5 + origin.x) + " " + twips(6 + origin.y);

    ::SendMessageW(Edit(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    ::SendMessageW(Edit(), WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(5, 6));
    ::SendMessageW(Edit(), WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
    ::SendMessageW(Edit(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 6));
    ::SendMessageW(Edit(), WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
    // The middle button: the right one would open the EDIT's modal context menu.
    ::SendMessageW(Edit(), WM_MBUTTONDOWN, MK_MBUTTON | MK_CONTROL, MAKELPARAM(5, 6));
    ::SendMessageW(Edit(), WM_MBUTTONUP, MK_CONTROL, MAKELPARAM(5, 6));
    PumpUntilIdle();

    EXPECT_EQ(events_.log,
              (Log{"MouseDown 1 0 " + at, "MouseMove 1 1 " + at, "MouseUp 1 0 " + at, "Click",
                   "DblClick", "MouseUp 1 0 " + at, "MouseDown 4 2 " + at, "MouseUp 4 2 " + at}));
}

// ---- Appearance ----

TEST_F(FileNameBoxWindowTest, ColoursFromOleColourValues) {
    Box().SetBackColor(0x000000FF); // red in the OLE form: blue in the top byte of three
    Box().SetForeColor(0x80000008); // the system's window-text colour
    HDC dc = ::GetDC(Edit());
    const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(window_->Handle(), WM_CTLCOLOREDIT,
                                                               reinterpret_cast<WPARAM>(dc),
                                                               reinterpret_cast<LPARAM>(Edit())));
    EXPECT_EQ(::GetBkColor(dc), RGB(255, 0, 0));
    EXPECT_EQ(::GetTextColor(dc), ::GetSysColor(COLOR_WINDOWTEXT));
    ::ReleaseDC(Edit(), dc);
    LOGBRUSH logBrush = {};
    ASSERT_EQ(::GetObjectW(brush, sizeof logBrush, &logBrush), static_cast<int>(sizeof logBrush));
    EXPECT_EQ(logBrush.lbColor, RGB(255, 0, 0));

    // And the box is drawn that way.
    ::RedrawWindow(Edit(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpUntilIdle();
    HDC screen = ::GetDC(Edit());
    RECT client = {};
    ::GetClientRect(Edit(), &client);
    EXPECT_EQ(::GetPixel(screen, client.right - 3, client.bottom / 2), RGB(255, 0, 0));
    ::ReleaseDC(Edit(), screen);

    Box().SetBackColor(0x80000005);
    dc = ::GetDC(Edit());
    ::SendMessageW(window_->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(Edit()));
    EXPECT_EQ(::GetBkColor(dc), ::GetSysColor(COLOR_WINDOW));
    ::ReleaseDC(Edit(), dc);
}

TEST_F(FileNameBoxWindowTest, TheFontObjectBecomesTheEditsFont) {
    EXPECT_EQ(Box().Font(), host_.AmbientFont());
    auto font = std::make_shared<Font>(Font{u"Arial", 12, 700, 0, true});
    Box().SetFont(font);
    const auto gdiFont = reinterpret_cast<HFONT>(::SendMessageW(Edit(), WM_GETFONT, 0, 0));
    ASSERT_NE(gdiFont, nullptr);
    LOGFONTW logFont = {};
    ASSERT_GT(::GetObjectW(gdiFont, sizeof logFont, &logFont), 0);
    EXPECT_STREQ(logFont.lfFaceName, L"Arial");
    EXPECT_EQ(logFont.lfHeight,
              -MulDiv(12, static_cast<int>(DpiFunctions::OfSystem().ForWindow(Edit())), 72));
    EXPECT_EQ(logFont.lfWeight, 700);
    EXPECT_TRUE(logFont.lfItalic);
    EXPECT_EQ(Box().Font(), font);
}

// The tests' stand-in for a system that tells each window its own DPI: the DPI of a window is a
// property of its top-level window.
constexpr wchar_t kTestDpi[] = L"Relingo.TestDpi";

UINT WINAPI TestDpiForWindow(HWND window) {
    const HANDLE dpi = ::GetPropW(::GetAncestor(window, GA_ROOT), kTestDpi);
    return dpi != nullptr ? static_cast<UINT>(reinterpret_cast<UINT_PTR>(dpi)) : 96;
}

UINT WINAPI TestDpiForSystem() {
    return USER_DEFAULT_SCREEN_DPI;
}

// A per-monitor host moved to a monitor of another DPI sends its child windows
// WM_DPICHANGED_AFTERPARENT: the 12-point font is made again at the window's new DPI.
TEST_F(FileNameBoxWindowTest, TheFontIsMadeAgainAtTheWindowsNewDpi) {
    const DpiFunctions perMonitor(&TestDpiForWindow, &TestDpiForSystem);
    BoxSystem system;
    system.dpi = &perMonitor;
    FileNameBoxWindow box(top_, RECT{10, 60, 310, 84}, kOtherId + 1, system_, host_, nullptr,
                          system);
    box.Box().SetFont(std::make_shared<Font>(Font{u"Arial", 12, 400, 0, false}));
    for (const auto& [dpi, height] : {std::pair{144, -24}, {96, -16}, {144, -24}}) {
        ::SetPropW(top_, kTestDpi, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(dpi)));
        ::SendMessageW(box.EditHandle(), 0x02E3, 0, 0); // WM_DPICHANGED_AFTERPARENT
        LOGFONTW font = {};
        ::GetObjectW(reinterpret_cast<HGDIOBJ>(::SendMessageW(box.EditHandle(), WM_GETFONT, 0, 0)),
                     sizeof font, &font);
        EXPECT_EQ(font.lfHeight, height) << dpi;
    }
    ::RemovePropW(top_, kTestDpi);
}

TEST_F(FileNameBoxWindowTest, EnabledIsTheEditsState) {
    Box().SetEnabled(false);
    EXPECT_FALSE(::IsWindowEnabled(Edit()));
    EXPECT_FALSE(Box().Enabled());
    Box().SetEnabled(true);
    EXPECT_TRUE(::IsWindowEnabled(Edit()));
}

// ---- Focus ----

TEST_F(FileNameBoxWindowTest, TabReachesTheInnerEdit) {
    EXPECT_EQ(::GetNextDlgTabItem(top_, other_, FALSE), Edit());
    EXPECT_EQ(::GetNextDlgTabItem(top_, Edit(), FALSE), other_);
    ::SetFocus(window_->Handle()); // focus given to the box lands in its EDIT
    EXPECT_EQ(::GetFocus(), Edit());
}

TEST_F(FileNameBoxWindowTest, LeavingABadBoxShowsOneBoxAndTakesTheFocusBack) {
    Box().SetText(u"1:\\x");
    ASSERT_EQ(::GetFocus(), Edit());
    DialogWatcher watcher(IDOK);

    ASSERT_TRUE(LeaveAndWaitForFocusBack(watcher, 1));
    auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"Warning!!");
    EXPECT_EQ(seen[0].text, L"Drive name is not alphabetical.");
    EXPECT_EQ(::GetFocus(), Edit());
    EXPECT_EQ(Box().Text(), u"1:\\x");

    // Nothing more comes while the user stays in the box ...
    PumpUntilIdle();
    EXPECT_EQ(watcher.Seen().size(), 1u);
    // ... and leaving again shows it again.
    ASSERT_TRUE(LeaveAndWaitForFocusBack(watcher, 2));
    EXPECT_EQ(watcher.Seen().size(), 2u);
}

TEST_F(FileNameBoxWindowTest, LeavingAGoodBoxLetsTheFocusGo) {
    Box().SetText(u"C:\\");
    DialogWatcher watcher(IDOK);
    ::SetFocus(other_);
    PumpUntilIdle();
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_EQ(::GetFocus(), other_);
}

TEST_F(FileNameBoxWindowTest, WithMessagesOffABadBoxStillKeepsTheFocus) {
    Box().SetMessageShow(false);
    Box().SetText(u"C:\\a:b");
    DialogWatcher watcher(IDOK);
    ::SetFocus(other_);
    EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == Edit(); }));
    EXPECT_TRUE(watcher.Seen().empty());
}

TEST_F(FileNameBoxWindowTest, WithoutValidateAtLostFocusTheFocusGoes) {
    Box().SetValidateAtLostFocus(false);
    Box().SetText(u"C:\\a:b");
    DialogWatcher watcher(IDOK);
    ::SetFocus(other_);
    PumpUntilIdle();
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_EQ(::GetFocus(), other_);
}

// Two bad boxes side by side: going from one to the other shows the first box's fault once and
// puts the focus back; the second box, left only because the focus was taken back, keeps quiet.
TEST_F(FileNameBoxWindowTest, TwoBadBoxesDoNotHandTheFocusToAndFro) {
    FileNameBoxWindow second(top_, RECT{10, 100, 310, 124}, kBoxId + 10, system_, host_);
    second.Box().ReadProperties(PropertyBag{});
    second.Box().SetText(u"C:\\a:b");
    Box().SetText(u"1:\\x");
    ::SetFocus(Edit());
    PumpUntilIdle();
    DialogWatcher watcher(IDOK);

    ::SetFocus(second.EditHandle());
    ASSERT_TRUE(PumpUntil([&] { return !watcher.Seen().empty() && ::GetFocus() == Edit(); }));
    PumpUntilIdle();

    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Drive name is not alphabetical.");
    EXPECT_EQ(::GetFocus(), Edit());
}

TEST_F(FileNameBoxWindowTest, AHostsRunWhileTheBoxHasTheFocusShowsItsBoxOnce) {
    Box().SetText(u"1:\\x");
    ASSERT_EQ(::GetFocus(), Edit());
    DialogWatcher watcher(IDOK);
    EXPECT_EQ(Box().FileName(), u"");
    PumpUntilIdle();
    EXPECT_EQ(watcher.Seen().size(), 1u);
}

// ---- Input method ----

// The input-method context's state. The thread's windows share one context unless one is
// given another, so a box must not change it while another control has the focus.
struct InputState {
    bool open = false;
    DWORD conversion = 0;
    DWORD sentence = 0;
    bool operator==(const InputState&) const = default;
};

void PrintTo(const InputState& state, std::ostream* os) {
    *os << "{open " << state.open << ", conversion 0x" << std::hex << state.conversion
        << ", sentence 0x" << state.sentence << std::dec << "}";
}

// Nothing when the window has no input-method context.
std::optional<InputState> InputStateOf(HWND window) {
    const HIMC context = ::ImmGetContext(window);
    if (context == nullptr) {
        return std::nullopt;
    }
    InputState state;
    state.open = ::ImmGetOpenStatus(context) != FALSE;
    ::ImmGetConversionStatus(context, &state.conversion, &state.sentence);
    ::ImmReleaseContext(window, context);
    return state;
}

bool SetInputStateOf(HWND window, const InputState& state) {
    const HIMC context = ::ImmGetContext(window);
    if (context == nullptr) {
        return false;
    }
    const bool done = ::ImmSetOpenStatus(context, state.open ? TRUE : FALSE) &&
                      ::ImmSetConversionStatus(context, state.conversion, state.sentence);
    ::ImmReleaseContext(window, context);
    return done && InputStateOf(window) == state;
}

constexpr DWORD kModeBits = IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE;

struct IMEModeCase {
    int16_t mode;
    bool open;
    std::optional<DWORD> conversion; // nothing: the conversion is left as it was
};

constexpr IMEModeCase kIMEModes[] = {
    {1, true, std::nullopt},
    {2, false, std::nullopt},
    {4, true, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE},
    {5, true, IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE},
    {6, true, IME_CMODE_NATIVE | IME_CMODE_KATAKANA},
    {7, true, IME_CMODE_ALPHANUMERIC | IME_CMODE_FULLSHAPE},
    {8, true, IME_CMODE_ALPHANUMERIC},
    {9, true, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE},
    {10, true, IME_CMODE_NATIVE},
};

// A state unlike the one the mode asks for, with a choice of the user's beside the mode's bits
// (romaji input) and a sentence mode, which the mode must both keep.
InputState StateUnlike(const IMEModeCase& c) {
    return {!c.open, (~c.conversion.value_or(IME_CMODE_KATAKANA) & kModeBits) | IME_CMODE_ROMAN,
            IME_SMODE_PHRASEPREDICT};
}

InputState StateAfter(const IMEModeCase& c, const InputState& before) {
    return {c.open,
            c.conversion ? (before.conversion & ~kModeBits) | *c.conversion : before.conversion,
            before.sentence};
}

class InputMethodTest : public FileNameBoxWindowTest {
protected:
    void SetUp() override {
        FileNameBoxWindowTest::SetUp();
        Box().SetValidateAtLostFocus(false);
    }
    void FocusOther() {
        ::SetFocus(other_);
        PumpUntilIdle();
        ASSERT_EQ(::GetFocus(), other_);
    }
};

// The mode acts when the box gets the focus, and at once when it is set while the box has it.
TEST_F(InputMethodTest, EachModeSetsItsStateWhenTheBoxHasTheFocus) {
    for (const IMEModeCase& c : kIMEModes) {
        SCOPED_TRACE(c.mode);
        FocusOther();
        const InputState before = StateUnlike(c);
        ASSERT_TRUE(SetInputStateOf(other_, before));
        Box().SetIMEMode(c.mode);
        EXPECT_EQ(InputStateOf(other_), before); // the control with the focus keeps its state
        ::SetFocus(Edit());
        ASSERT_EQ(::GetFocus(), Edit());
        EXPECT_EQ(InputStateOf(Edit()), StateAfter(c, before));

        ASSERT_TRUE(SetInputStateOf(Edit(), before));
        Box().SetIMEMode(c.mode);
        EXPECT_EQ(InputStateOf(Edit()), StateAfter(c, before));
    }
}

// Mode 0 leaves the user's state, even after a mode that set another.
TEST_F(InputMethodTest, ModeZeroLeavesTheStateAsTheUserHasIt) {
    Box().SetIMEMode(5);
    FocusOther();
    const InputState users = {true, IME_CMODE_ALPHANUMERIC | IME_CMODE_ROMAN, IME_SMODE_NONE};
    ASSERT_TRUE(SetInputStateOf(other_, users));
    Box().SetIMEMode(0);
    ::SetFocus(Edit());
    EXPECT_EQ(InputStateOf(Edit()), users);
    const InputState closed = {false, IME_CMODE_NATIVE, IME_SMODE_PHRASEPREDICT};
    ASSERT_TRUE(SetInputStateOf(Edit(), closed));
    Box().SetIMEMode(0);
    EXPECT_EQ(InputStateOf(Edit()), closed);
}

TEST_F(InputMethodTest, ModeThreeTakesTheInputMethodAwayAndModeFourGivesItBack) {
    Box().SetIMEMode(3);
    EXPECT_EQ(InputStateOf(Edit()), std::nullopt);
    FocusOther();
    EXPECT_NE(InputStateOf(other_), std::nullopt); // the other control keeps its own
    ::SetFocus(Edit());
    EXPECT_EQ(InputStateOf(Edit()), std::nullopt);

    ASSERT_TRUE(SetInputStateOf(other_, {false, IME_CMODE_ALPHANUMERIC, IME_SMODE_NONE}));
    Box().SetIMEMode(4);
    EXPECT_EQ(InputStateOf(Edit()),
              (InputState{true, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE, IME_SMODE_NONE}));
}

TEST_F(InputMethodTest, ApplyingAModeKeepsTheTextTheSelectionAndTheFilter) {
    Box().SetText(u"C:\\folder\\file.txt");
    Box().SetSelStart(3);
    Box().SetSelLength(6);
    events_.log.clear();
    for (int16_t mode = 0; mode <= 10; ++mode) {
        SCOPED_TRACE(mode);
        Box().SetIMEMode(mode);
        FocusOther();
        ::SetFocus(Edit());
        PumpUntilIdle();
        EXPECT_EQ(Box().Text(), u"C:\\folder\\file.txt");
        EXPECT_EQ(Box().SelStart(), 3);
        EXPECT_EQ(Box().SelLength(), 6);
    }
    EXPECT_TRUE(events_.log.empty());
    TypeChars(u"*d");
    EXPECT_EQ(Box().Text(), u"C:\\d\\file.txt");
    EXPECT_EQ(events_.keyPresses, (std::vector<int16_t>{0, u'd'}));
}

// ---- Lifetime ----

// A screen reader names the inner EDIT after the label before the box, as it names a plain
// edit placed after its label. Wine's oleacc cannot hand an object answered through
// WM_GETOBJECT back to a client (ObjectFromLresult fails with E_NOINTERFACE), so the object
// behind the answer is asked itself.
struct AccessibleNameCase {
    const wchar_t* className;
    const wchar_t* caption;
    const wchar_t* name; // null: no label, so the box gives no name of its own
};

class AccessibleNameTest : public FileNameBoxWindowTest,
                           public ::testing::WithParamInterface<AccessibleNameCase> {};

std::wstring NameOf(IAccessible& object) {
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT hr = object.get_accName(self, &name);
    std::wstring result = SUCCEEDED(hr) && name != nullptr ? std::wstring(name) : L"(no name)";
    ::SysFreeString(name);
    return result;
}

LONG RoleOf(IAccessible& object) {
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role = {};
    return SUCCEEDED(object.get_accRole(self, &role)) && role.vt == VT_I4 ? role.lVal : -1;
}

TEST_P(AccessibleNameTest, TheEditIsNamedAfterTheLabelBeforeTheBox) {
    const AccessibleNameCase& c = GetParam();
    const HWND before = ::CreateWindowExW(0, c.className, c.caption, WS_CHILD | WS_VISIBLE, 10, 40,
                                          100, 20, top_, nullptr, nullptr, nullptr);
    // Before the box in the order of the window's children, as a label in a designed window.
    ::SetWindowPos(before, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_EQ(::GetWindow(window_->Handle(), GW_HWNDPREV), before);

    const auto label = LabelCaptionBefore(window_->Handle());
    if (c.name == nullptr) {
        EXPECT_FALSE(label);
    } else {
        ASSERT_TRUE(label);
        EXPECT_EQ(*label, c.name);
        EXPECT_NE(::SendMessageW(Edit(), WM_GETOBJECT, 0, OBJID_CLIENT), 0);
        IAccessible* object = NamedClientObject(Edit(), *label);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(NameOf(*object), c.name);
        EXPECT_EQ(RoleOf(*object), ROLE_SYSTEM_TEXT); // the rest is the system's edit
        object->Release();
    }
    ::DestroyWindow(before);
}

INSTANTIATE_TEST_SUITE_P(
    FileNameBoxWindowTest, AccessibleNameTest,
    ::testing::Values(AccessibleNameCase{L"STATIC", L"&IPDK Program File (PDWizloc.exe)",
                                         L"IPDK Program File (PDWizloc.exe)"},
                      AccessibleNameCase{L"STATIC", L"VB Program &File to be Re-packed",
                                         L"VB Program File to be Re-packed"},
                      AccessibleNameCase{L"STATIC", L"Save && E&xit", L"Save & Exit"},
                      AccessibleNameCase{L"STATIC", L"No key", L"No key"},
                      AccessibleNameCase{L"BUTTON", L"&Browse", nullptr}));

TEST_F(FileNameBoxWindowTest, DestroyingTheBoxReleasesItsWindows) {
    const HWND box = window_->Handle();
    const HWND edit = Edit();
    Box().SetBackColor(0x00336699);
    window_.reset();
    EXPECT_FALSE(::IsWindow(box));
    EXPECT_FALSE(::IsWindow(edit));
}

TEST_F(FileNameBoxWindowTest, TheParentMayGoFirst) {
    const HWND edit = Edit();
    ::DestroyWindow(top_);
    top_ = nullptr;
    EXPECT_FALSE(::IsWindow(edit));
    EXPECT_EQ(window_->Handle(), nullptr);
    EXPECT_EQ(Box().Text(), u"");
    window_.reset();
}

// ---- The host ----

TEST(Win32ControlHostTest, PixelsToTwipsAtTheWindowsDpi) {
    Win32ControlHost host;
    const UINT dpi = DpiFunctions::OfSystem().ForSystem();
    EXPECT_EQ(host.ScaleMode(), scale::kPixels);
    EXPECT_FLOAT_EQ(host.ScaleX(static_cast<float>(dpi), scale::kPixels, scale::kContainerPosition),
                    1440.0f);
    EXPECT_FLOAT_EQ(host.ScaleY(static_cast<float>(dpi) / 2, scale::kPixels, scale::kTwips),
                    720.0f);
    EXPECT_FLOAT_EQ(host.ScaleX(72, scale::kPoints, scale::kInches), 1.0f);
    EXPECT_FLOAT_EQ(host.ScaleX(1, scale::kInches, scale::kMillimeters), 25.4f);
    try {
        host.ScaleX(1, 0, scale::kTwips);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), errnum::kInvalidProcedureCall);
    }
}

// A control's site: the container answers for the session and the scale, the control's own
// window for its extent. A site without a window (the file dialog control's) leaves the
// container's window as it is.
TEST(Win32ControlHostTest, ASiteTakesTheAmbientFromItsContainerAndTheExtentFromItsWindow) {
    const HWND container = CreateTopWindow();
    const HWND child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 40, 20, container,
                                         nullptr, nullptr, nullptr);
    auto font = std::make_shared<Font>(Font{u"Tahoma"});
    Win32ControlHost host(container, font);
    Win32ControlHost site = Win32ControlHost::SiteIn(host);
    Win32ControlHost windowless = Win32ControlHost::SiteIn(host);
    site.SetWindow(child);
    RECT before = {};
    ::GetWindowRect(container, &before);

    EXPECT_EQ(site.AmbientFont(), font);
    site.PropertyChanged(u"Text");
    EXPECT_EQ(host.PropertyChanges(), 1);
    EXPECT_FLOAT_EQ(site.ScaleX(1, scale::kInches, scale::kTwips), 1440.0f);
    EXPECT_FLOAT_EQ(site.ControlWidth(), 40.0f);
    site.SetControlSize(64, 24);
    EXPECT_FLOAT_EQ(site.ControlWidth(), 64.0f);
    EXPECT_FLOAT_EQ(site.ControlHeight(), 24.0f);

    EXPECT_FLOAT_EQ(windowless.ControlWidth(), 0.0f);
    windowless.SetControlSize(32, 32);
    windowless.Refresh();
    RECT after = {};
    ::GetWindowRect(container, &after);
    EXPECT_TRUE(::EqualRect(&before, &after));
    ::DestroyWindow(container);
}

TEST(Win32ControlHostTest, AmbientPropertiesOfTheSession) {
    Win32ControlHost host;
    EXPECT_EQ(host.AmbientLocaleID(), static_cast<int32_t>(::GetUserDefaultLCID()));
    EXPECT_TRUE(host.AmbientUserMode());
    ASSERT_NE(host.AmbientFont(), nullptr);
    EXPECT_FALSE(host.AmbientFont()->name.empty());
    host.PropertyChanged(u"Text");
    host.PropertyChanged(u"Mode");
    EXPECT_EQ(host.PropertyChanges(), 2);
    auto font = std::make_shared<Font>(Font{u"Tahoma"});
    Win32ControlHost given(nullptr, font);
    EXPECT_EQ(given.AmbientFont(), font);
}

} // namespace
} // namespace relingo::win32
