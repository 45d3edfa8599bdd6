// The name box in the system's own ActiveX container, atl.dll's AtlAxWin, and in the tests'
// container, worked as a person works it: key strokes and clicks sent with SendInput reach the
// box through the system, the focus and the dialog manager of the window that holds it.
#include "com/Relingo_h.h"
#include "tests/com/ComTestSupport.h"
#include "tests/com/TestContainer.h"
#include "tests/win32support/UserInput.h"
#include "tests/win32support/Win32TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace relingo::test {
namespace {

using AtlAxWinInitFunction = BOOL(WINAPI*)();
using AtlAxGetControlFunction = HRESULT(WINAPI*)(HWND, IUnknown**);

constexpr int kChangeEvent = 1;
constexpr int kKeyPressEvent = 5;

// The host window's procedure: it notes the commands the dialog manager sends it.
LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        if (auto* commands =
                reinterpret_cast<std::vector<int>*>(::GetWindowLongPtrW(window, GWLP_USERDATA))) {
            commands->push_back(LOWORD(wParam));
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// A window of the test's own holding the box in an AtlAxWin window between two buttons.
class AtlHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(activation_.Active());
        atl_ = ::LoadLibraryW(SystemProgram(L"atl.dll").c_str());
        ASSERT_NE(atl_, nullptr);
        // Through a generic function pointer, the documented way to convert GetProcAddress's
        // result.
        const auto init = reinterpret_cast<AtlAxWinInitFunction>(
            reinterpret_cast<void (*)()>(::GetProcAddress(atl_, "AtlAxWinInit")));
        const auto getControl = reinterpret_cast<AtlAxGetControlFunction>(
            reinterpret_cast<void (*)()>(::GetProcAddress(atl_, "AtlAxGetControl")));
        ASSERT_TRUE(init && getControl);
        // The class is registered once for the process; a second call reports it as there.
        init();
        WNDCLASSEXW registered = {};
        registered.cbSize = sizeof registered;
        ASSERT_TRUE(::GetClassInfoExW(::GetModuleHandleW(nullptr), L"AtlAxWin", &registered));

        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = HostProcedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = L"RelingoAtlHost";
        ::RegisterClassW(&windowClass);
        host_ = ::CreateWindowExW(WS_EX_CONTROLPARENT, L"RelingoAtlHost", L"AtlAxWin host",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 420, 160, nullptr,
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SetWindowLongPtrW(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&commands_));
        before_ =
            ::CreateWindowExW(0, L"BUTTON", L"Before", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 320, 10,
                              80, 24, host_, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        // The window's title names the control it makes.
        axWindow_ = ::CreateWindowExW(WS_EX_CONTROLPARENT, L"AtlAxWin", L"Relingo.FileNameBox",
                                      WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 300, 24, host_,
                                      nullptr, ::GetModuleHandleW(nullptr), nullptr);
        next_ = ::CreateWindowExW(0, L"BUTTON", L"Next", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 50,
                                  80, 24, host_, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(host_ && before_ && axWindow_ && next_);
        ComPtr<IUnknown> control;
        ASSERT_EQ(getControl(axWindow_, &control), S_OK);
        ASSERT_EQ(control.As(&box_), S_OK);
        ComPtr<IOleInPlaceObject> inPlace;
        ASSERT_EQ(control.As(&inPlace), S_OK);
        ASSERT_EQ(inPlace->GetWindow(&boxWindow_), S_OK);
        edit_ = ::GetWindow(boxWindow_, GW_CHILD);
        ASSERT_NE(edit_, nullptr);
    }

    void TearDown() override {
        box_.Reset();
        ::DestroyWindow(host_);
        PumpUntil([] { return true; });
    }

    // Clicks into the box, so that the typing goes there; each time at another place, since two
    // clicks at one place would be a double click, which does not move the focus.
    void ClickIntoTheBox() {
        BringToFront(host_);
        ClickOn(edit_, POINT{20 + 30 * (clicks_++ % 8), 8});
        ASSERT_TRUE(
            PumpUntil([&] { return ::GetFocus() == edit_; }, std::chrono::seconds(10), host_));
    }

    std::wstring BoxText() {
        const auto text = GetProperty(box_.Get(), L"Text");
        return text.value.bstrVal != nullptr ? text.value.bstrVal : L"";
    }

    OleApartment apartment_;
    ServerActivation activation_;
    HMODULE atl_ = nullptr;
    HWND host_ = nullptr;
    std::vector<int> commands_;
    HWND before_ = nullptr;
    HWND axWindow_ = nullptr;
    HWND next_ = nullptr;
    HWND boxWindow_ = nullptr;
    HWND edit_ = nullptr;
    int clicks_ = 0;
    ComPtr<IDispatch> box_;
};

TEST_F(AtlHostTest, TheBoxIsActivatedInPlaceFillingTheContainersWindow) {
    EXPECT_EQ(::GetParent(boxWindow_), axWindow_);
    EXPECT_TRUE(::IsWindowVisible(boxWindow_));
    RECT box = {};
    ::GetWindowRect(boxWindow_, &box);
    EXPECT_EQ(box.right - box.left, 300);
    EXPECT_EQ(box.bottom - box.top, 24);
    EXPECT_EQ(::GetParent(edit_), boxWindow_);
}

// AtlAxWin makes a new box at run time (InitNew, no design environment): it refuses the
// forbidden characters as a running program's boxes do.
TEST_F(AtlHostTest, AForbiddenCharacterTypedIntoTheBoxIsRefused) {
    ClickIntoTheBox();
    TypeText(L"ab*c|d\"e");
    EXPECT_TRUE(
        PumpUntil([&] { return WindowText(edit_) == L"abcde"; }, std::chrono::seconds(10), host_))
        << Utf8(WindowText(edit_));
    EXPECT_EQ(BoxText(), L"abcde");
}

TEST_F(AtlHostTest, KeyPressReachesTheContainersSinkWhichCanKeepACharacterOut) {
    auto sink = com::ComObject<EventSink>::Make([](DISPID id, DISPPARAMS& params) {
        if (id == kKeyPressEvent && *params.rgvarg[0].piVal == L'x') {
            *params.rgvarg[0].piVal = 0;
        }
    });
    ASSERT_NE(Connect(box_.Get(), DIID_DFileNameBoxEvents, sink.Get()), 0u);
    ClickIntoTheBox();
    TypeText(L"ax*b");
    EXPECT_TRUE(
        PumpUntil([&] { return WindowText(edit_) == L"ab"; }, std::chrono::seconds(10), host_))
        << Utf8(WindowText(edit_));
    std::vector<double> keyPresses;
    for (const auto& event : sink->seen) {
        if (event.id == kKeyPressEvent) {
            keyPresses.push_back(event.arguments.at(0));
        }
    }
    // The refused "*" reaches the sink as 0; the sink's own 0 keeps the "x" out.
    EXPECT_EQ(keyPresses, (std::vector<double>{'a', 'x', 0, 'b'}));
}

// Another program drags two files onto the placed box: the box takes the first, with one Change.
TEST_F(AtlHostTest, FilesDraggedFromAnotherProgramLandInTheBox) {
    auto sink = com::ComObject<EventSink>::Make();
    ASSERT_NE(Connect(box_.Get(), DIID_DFileNameBoxEvents, sink.Get()), 0u);
    ASSERT_TRUE(WaitForDropTarget(edit_));
    const DragOutcome outcome = DragOnto(edit_, L"C:\\first.txt C:\\second.txt");
    EXPECT_EQ(outcome.entered, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(outcome.effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(BoxText(), L"C:\\first.txt");
    EXPECT_EQ(std::count_if(sink->seen.begin(), sink->seen.end(),
                            [](const auto& event) { return event.id == kChangeEvent; }),
              1);
}

TEST_F(AtlHostTest, TabAndShiftTabLeaveTheBoxAndEnterAndEscGoToTheHost) {
    const struct {
        const char* what;
        WORD key;
        std::initializer_list<WORD> modifiers;
        HWND* focus; // where the focus goes, or null when it stays
        int command; // the command the host receives, or 0
    } cases[] = {
        {"Tab", VK_TAB, {}, &next_, 0},
        {"Shift+Tab", VK_TAB, {VK_SHIFT}, &before_, 0},
        {"Enter", VK_RETURN, {}, nullptr, IDOK},
        {"Esc", VK_ESCAPE, {}, nullptr, IDCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClickIntoTheBox();
        commands_.clear();
        PressKey(c.key, c.modifiers);
        if (c.focus != nullptr) {
            EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == *c.focus; },
                                  std::chrono::seconds(10), host_));
        } else {
            EXPECT_TRUE(
                PumpUntil([&] { return !commands_.empty(); }, std::chrono::seconds(10), host_));
            EXPECT_EQ(commands_, (std::vector<int>{c.command}));
            EXPECT_EQ(::GetFocus(), edit_);
        }
        EXPECT_EQ(WindowText(edit_), L"");
    }
}

TEST_F(AtlHostTest, LeavingTheBoxWithABadNameShowsTheFaultAndKeepsTheFocus) {
    TempFolder folder;
    EXPECT_EQ(PutProperty(box_.Get(), L"mode", Long(1)).hr, S_OK);
    VARIANT missing = Text(folder / L"missing.exe");
    EXPECT_EQ(PutProperty(box_.Get(), L"Text", missing).hr, S_OK);
    ::VariantClear(&missing);
    ClickIntoTheBox();
    DialogWatcher boxes;
    PressKey(VK_TAB);
    EXPECT_TRUE(PumpUntil([&] { return !boxes.Seen().empty() && ::GetFocus() == edit_; },
                          std::chrono::seconds(20), host_))
        << "focus on " << ::GetFocus();
    const auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"File or folder not found.");
    EXPECT_EQ(seen[0].owner, host_);
}

// In the tests' container: the site hears of the focus, and a design environment's new box
// takes any character, as placing a box in a design environment always did.
class ContainerInputTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(activation_.Active()); }

    OleApartment apartment_;
    ServerActivation activation_;
};

TEST_F(ContainerInputTest, TheSiteHearsWhenTheBoxGainsAndLosesTheFocus) {
    TestContainer container({1033, true}, true);
    auto box = MakeControl<IOleInPlaceObject>(L"Relingo.FileNameBox");
    container.Place(box.Get(), true);
    HWND window = nullptr;
    box->GetWindow(&window);
    const HWND edit = ::GetWindow(window, GW_CHILD);
    const HWND button =
        ::CreateWindowExW(0, L"BUTTON", L"Other", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 60, 80,
                          24, container.Window(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    BringToFront(container.Window());
    ClickOn(edit);
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == edit; }));
    ClickOn(button);
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == button; }));
    EXPECT_EQ(container.Site().focusChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(container.Site().uiActivations, 1);
}

TEST_F(ContainerInputTest, ANewBoxRefusesForbiddenCharactersAtRunTimeOnly) {
    const struct {
        bool userMode;
        const wchar_t* typed;
    } cases[] = {{false, L"a*b"}, {true, L"ab"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.userMode ? "run time" : "design time");
        TestContainer container({1033, c.userMode}, true);
        auto box = MakeControl<IOleInPlaceObject>(L"Relingo.FileNameBox");
        container.Place(box.Get(), false);
        ComPtr<IPersistStreamInit> persist;
        box.As(&persist);
        ASSERT_EQ(persist->InitNew(), S_OK);
        ComPtr<IOleObject> object;
        box.As(&object);
        object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &container.Site(), 0, container.Window(),
                       &container.Site().position);
        HWND window = nullptr;
        box->GetWindow(&window);
        const HWND edit = ::GetWindow(window, GW_CHILD);
        BringToFront(container.Window());
        ClickOn(edit);
        ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == edit; }));
        TypeText(L"a*b");
        EXPECT_TRUE(PumpUntil([&] { return WindowText(edit) == c.typed; }))
            << Utf8(WindowText(edit));
    }
}

} // namespace
} // namespace relingo::test
