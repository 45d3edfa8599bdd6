// The name box as the stricter hosts drive it (VB forms, MFC's control sites, WinForms' AxHost),
// in a form of the tests' own that keeps to their protocols: the verbs they show controls with,
// a message loop that asks the active control first and then only dispatches, a site that takes
// the keys handed back, and handlers that close the form from inside the box's events. The
// program runs with the heap's free checking on (FreeCheckingMain.cpp): a box that touched
// itself after its form closed would read the heap's filler and fault.
#include "com/Relingo_h.h"
#include "tests/com/ComTestSupport.h"
#include "tests/com/TestContainer.h"
#include "tests/win32support/UserInput.h"
#include "tests/win32support/Win32TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

namespace relingo::test {
namespace {

constexpr Ambients kRunTime = {1033, true};
constexpr DWORD kShiftHeld = 1; // KEYMOD_SHIFT
constexpr DWORD kControlHeld = 2;

// The box's events, by their numbers in the type library.
enum Event : DISPID {
    kNoEvent,
    kChange,
    kClick,
    kDblClick,
    kKeyDown,
    kKeyPress,
    kKeyUp,
    kMouseDown,
    kMouseMove,
    kMouseUp
};

// The box's Text, SelStart and SelLength.
using BoxState = std::tuple<std::wstring, LONG, LONG>;
using Keys = std::vector<std::pair<WPARAM, DWORD>>;

class StrictHostTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(activation_.Active()); }

    // A form with a new name box, made as a running program makes it, and the focus in the
    // form's own EDIT; then the container's verb.
    void Load(LONG verb) {
        form_ = std::make_unique<TestContainer>(kRunTime, true);
        box_ = MakeControl<IDispatch>(L"Relingo.FileNameBox");
        ASSERT_TRUE(box_);
        form_->Place(box_.Get(), false);
        ComPtr<IPersistStreamInit> persist;
        ASSERT_EQ(box_.As(&persist), S_OK);
        ASSERT_EQ(persist->InitNew(), S_OK);
        sink_ = com::ComObject<EventSink>::Make([this](DISPID id, DISPPARAMS&) {
            if (id == closeOn_) {
                Unload();
            }
        });
        ASSERT_NE(Connect(box_.Get(), DIID_DFileNameBoxEvents, sink_.Get()), 0u);
        BringToFront(form_->Window());
        ::SetFocus(form_->Other());
        ASSERT_EQ(form_->DoVerb(verb), S_OK);
        ComPtr<IOleWindow> inPlace;
        HWND window = nullptr;
        ASSERT_EQ(box_.As(&inPlace), S_OK);
        ASSERT_EQ(inPlace->GetWindow(&window), S_OK);
        edit_ = ::GetWindow(window, GW_CHILD);
        form_->RunUntil([] { return true; });
    }

    // The form's handler: Unload Me.
    void Unload() {
        form_->Unload();
        box_.Reset();
    }

    BoxState Box() {
        const auto text = GetProperty(box_.Get(), L"Text");
        return {text.value.bstrVal != nullptr ? text.value.bstrVal : L"",
                GetProperty(box_.Get(), L"SelStart").value.lVal,
                GetProperty(box_.Get(), L"SelLength").value.lVal};
    }

    // Whether the server holds no object: the box, and everything of it, is gone.
    static bool ServerIdle() {
        const auto canUnload = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void (*)()>(
            ::GetProcAddress(::GetModuleHandleW(L"RelingoControls.ocx"), "DllCanUnloadNow")));
        return canUnload != nullptr && canUnload() == S_OK;
    }

    OleApartment apartment_;
    ServerActivation activation_;
    std::unique_ptr<TestContainer> form_;
    ComPtr<IDispatch> box_;
    ComPtr<com::ComObject<EventSink>> sink_;
    DISPID closeOn_ = kNoEvent;
    HWND edit_ = nullptr;
};

// MFC and WinForms show their controls with SHOW as a form appears: that may not take the focus
// from the control that has it. PRIMARY and UIACTIVATE bring the box into use.
TEST_F(StrictHostTest, OnlyTheVerbsThatActivateTheBoxsUiTakeTheFocus) {
    const struct {
        LONG verb;
        bool takesFocus;
    } cases[] = {{OLEIVERB_SHOW, false},
                 {OLEIVERB_INPLACEACTIVATE, false},
                 {OLEIVERB_UIACTIVATE, true},
                 {OLEIVERB_PRIMARY, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.verb);
        Load(c.verb);
        EXPECT_TRUE(::IsWindowVisible(edit_));
        EXPECT_EQ(::GetFocus(), c.takesFocus ? edit_ : form_->Other());
        EXPECT_EQ(form_->Site().uiActivations, c.takesFocus ? 1 : 0);
        Unload();
    }
}

// The keys pressed in "abcd" with the caret after "ab": the editing keys stay the box's and edit
// it; every other key goes back to the site with the modifiers held, and what the site takes
// (Tab, Enter) goes no further. Typed characters reach the box once.
TEST_F(StrictHostTest, TheBoxKeepsItsEditingKeysAndHandsTheOthersToTheSite) {
    const struct {
        std::function<void()> press;
        Keys handed;
        BoxState box;
    } cases[] = {
        {[] { PressKey(VK_LEFT); }, {}, {L"abcd", 1, 0}},
        {[] { PressKey(VK_HOME); }, {}, {L"abcd", 0, 0}},
        {[] { PressKey(VK_DELETE); }, {}, {L"abd", 2, 0}},
        {[] { PressKey(VK_END, {VK_SHIFT}); }, {{VK_SHIFT, kShiftHeld}}, {L"abcd", 2, 2}},
        {[] { PressKey(VK_LEFT, {VK_CONTROL}); }, {{VK_CONTROL, kControlHeld}}, {L"abcd", 0, 0}},
        {[] { PressKey(VK_TAB); }, {{VK_TAB, 0}}, {L"abcd", 2, 0}},
        {[] { PressKey(VK_TAB, {VK_SHIFT}); },
         {{VK_SHIFT, kShiftHeld}, {VK_TAB, kShiftHeld}},
         {L"abcd", 2, 0}},
        {[] { PressKey(VK_RETURN); }, {{VK_RETURN, 0}}, {L"abcd", 2, 0}},
        {[] { TypeText(L"xy"); }, {{VK_PACKET, 0}, {VK_PACKET, 0}}, {L"abxycd", 4, 0}},
    };
    Load(OLEIVERB_UIACTIVATE);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        PutProperty(box_.Get(), L"Text", Text(L"abcd"));
        PutProperty(box_.Get(), L"SelStart", Long(2));
        form_->Site().keysHanded.clear();
        c.press();
        form_->RunUntil([&] { return Box() == c.box && form_->Site().keysHanded == c.handed; },
                        std::chrono::seconds(3));
        EXPECT_EQ(Box(), c.box);
        EXPECT_EQ(form_->Site().keysHanded, c.handed);
        EXPECT_EQ(::GetFocus(), edit_);
    }
    Unload();
}

// Every path by which the box raises an event, and the container hears of its focus, returns
// safely when the form's handler closes the form and lets the box go meanwhile.
TEST_F(StrictHostTest, AHandlerMayCloseTheFormFromEveryEvent) {
    TempFolder folder;
    const std::wstring dropped = folder.AddFile(L"dropped.txt");
    const auto click = [this] { ClickOn(edit_); };
    const struct {
        const char* what;
        DISPID closeOn;
        std::function<void()> act;
    } cases[] = {
        {"KeyDown of a typed key", kKeyDown, [] { TypeText(L"a"); }},
        {"KeyDown of an editing key", kKeyDown, [] { PressKey(VK_LEFT); }},
        {"KeyPress", kKeyPress, [] { TypeText(L"a"); }},
        {"KeyUp", kKeyUp, [] { TypeText(L"a"); }},
        {"Change of a typed key", kChange, [] { TypeText(L"a"); }},
        {"MouseDown", kMouseDown, click},
        {"MouseUp", kMouseUp, click},
        {"Click", kClick, click},
        {"DblClick", kDblClick,
         [=] {
             click();
             click();
         }},
        {"MouseMove", kMouseMove,
         [this] {
             MoveMouseTo(edit_, {3, 3});
         }},
        {"Change of a drop", kChange, [&] { DragOnto(edit_, L"\"" + dropped + L"\""); }},
        {"the focus leaving", kNoEvent, [this] { ClickOn(form_->Other()); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Load(OLEIVERB_UIACTIVATE);
        if (c.closeOn == kChange) {
            ASSERT_TRUE(WaitForDropTarget(edit_));
        }
        closeOn_ = c.closeOn;
        form_->Site().onFocus = [this](bool gained) {
            if (!gained && closeOn_ == kNoEvent) {
                Unload();
            }
        };
        c.act();
        EXPECT_TRUE(form_->RunUntil([this] { return !box_; }));
        form_->RunUntil([] { return false; }, std::chrono::milliseconds(200));
        EXPECT_TRUE(ServerIdle());
        form_->Site().onFocus = nullptr;
        closeOn_ = kNoEvent;
        if (box_) {
            Unload();
        }
    }
}

} // namespace
} // namespace relingo::test
