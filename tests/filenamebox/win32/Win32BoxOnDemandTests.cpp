// A box that has no window yet against one in a window with its real EDIT: the same members
// called on both give the same results and the same changes, step by step; once placed, the
// box's EDIT holds exactly the state it kept, and the two go on alike, taken out again too.
#include "filenamebox/FileNameBox.h"
#include "filenamebox/win32/FileNameBoxOnDemand.h"
#include "filenamebox/win32/FileNameBoxWindow.h"
#include "filenamebox/win32/Win32ControlHost.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32System.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace relingo::win32 {
namespace {

using Step = std::function<void(FileNameBox&)>;

std::string StateOf(FileNameBox& box) {
    return "text=[" + ToUtf8(box.Text()) + "] sel=" + std::to_string(box.SelStart()) + "+" +
           std::to_string(box.SelLength()) + " seltext=[" + ToUtf8(box.SelText()) +
           "] back=" + std::to_string(box.BackColor()) +
           " fore=" + std::to_string(box.ForeColor()) +
           " enabled=" + std::to_string(box.Enabled()) + " ime=" + std::to_string(box.IMEMode()) +
           " max=" + std::to_string(box.MaxLength());
}

// Each Change with the state the box shows while it is raised.
class ChangeLog : public FileNameBoxEvents {
public:
    FileNameBox* box = nullptr;
    std::vector<std::string> seen;
    void Change() override { seen.push_back(StateOf(*box)); }
};

std::string Outcome(const Step& step, FileNameBox& box) {
    try {
        step(box);
        return "done";
    } catch (const Error& e) {
        return "error " + std::to_string(e.Number());
    }
}

HWND EditOf(HWND box) {
    return ::GetWindow(box, GW_CHILD);
}

// What the box's EDIT shows: text, selection, limit, state, font, size and colours.
std::string ReadEdit(HWND box) {
    const HWND edit = EditOf(box);
    wchar_t text[64] = {};
    ::GetWindowTextW(edit, text, 64);
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    LOGFONTW font = {};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(edit, WM_GETFONT, 0, 0)), sizeof font,
                 &font);
    RECT r = {};
    ::GetWindowRect(edit, &r);
    const HDC dc = ::GetDC(edit);
    ::SendMessageW(box, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(edit));
    std::ostringstream state;
    state << ToUtf8(FromWide(text)) << " " << start << "-" << end << " limit "
          << ::SendMessageW(edit, EM_GETLIMITTEXT, 0, 0) << " enabled " << ::IsWindowEnabled(edit)
          << " " << ToUtf8(FromWide(font.lfFaceName)) << " " << font.lfHeight << "/"
          << font.lfWeight << "/" << int{font.lfItalic} << " " << r.right - r.left << "x"
          << r.bottom - r.top << " colours " << ::GetBkColor(dc) << "/" << ::GetTextColor(dc);
    ::ReleaseDC(edit, dc);
    return state.str();
}

std::u16string WithNul(std::u16string_view before, std::u16string_view after) {
    return std::u16string(before) + u'\0' + std::u16string(after);
}

const auto kArial = std::make_shared<Font>(Font{u"Arial", 12, 700, 0, true});

const struct Sequence {
    const char* what;
    bool loaded; // the stored properties read first, as every COM member does
    std::vector<Step> steps;
} kSequences[] = {
    {"text and selection",
     true,
     {[](auto& b) { b.SetText(u"C:\\folder\\file.txt"); }, [](auto& b) { b.SetSelStart(3); },
      [](auto& b) { b.SetSelLength(6); }, [](auto& b) { b.SetSelText(u"dir"); },
      [](auto& b) { b.SetText(u"C:\\dir\\file.txt"); }, [](auto& b) { b.SetSelStart(1000); },
      [](auto& b) { b.SetSelStart(2); }, [](auto& b) { b.SetSelLength(1000); },
      [](auto& b) { b.SetSelStart(-1); }, [](auto& b) { b.SetSelLength(-5); },
      [](auto& b) { b.SetSelStart(4); }, [](auto& b) { b.SetSelText(u""); },
      [](auto& b) { b.SetSelLength(2); }, [](auto& b) { b.SetSelText(u"ir"); },
      [](auto& b) { b.SetText(u""); }, [](auto& b) { b.SetSelText(u""); }}},
    {"text cut at a NUL",
     true,
     {[](auto& b) { b.SetText(WithNul(u"ab", u"cd")); }, [](auto& b) { b.SetText(u"ab"); },
      [](auto& b) { b.SetText(WithNul(u"ab", u"")); }, [](auto& b) { b.SetSelStart(1); },
      [](auto& b) { b.SetSelText(WithNul(u"x", u"y")); },
      [](auto& b) { b.SetSelText(WithNul(u"", u"y")); }}},
    {"MaxLength",
     true,
     {[](auto& b) { b.SetMaxLength(3); }, [](auto& b) { b.SetText(u"abcdef"); },
      [](auto& b) { b.SetSelStart(6); }, [](auto& b) { b.SetSelText(u"g"); },
      [](auto& b) { b.SetSelStart(0); }, [](auto& b) { b.SetSelLength(2); },
      [](auto& b) { b.SetSelText(u"12345"); }, [](auto& b) { b.SetText(u"a"); },
      [](auto& b) { b.SetSelStart(1); }, [](auto& b) { b.SetSelText(u"bcdef"); },
      [](auto& b) { b.SetMaxLength(-1); }, [](auto& b) { b.SetMaxLength(5); },
      [](auto& b) { b.SetSelText(u"d\U0001F600"); }, [](auto& b) { b.SetMaxLength(0); },
      [](auto& b) { b.SetSelText(u"xyz"); }}},
    {"the first limit, before any MaxLength",
     false,
     {[](auto& b) { b.SetSelText(std::u16string(30002, u'a')); },
      [](auto& b) { b.SetText(std::u16string(30003, u'b')); }}},
    {"appearance",
     true,
     {[](auto& b) { b.SetBackColor(0x000000FF); }, [](auto& b) { b.SetForeColor(0x80000008); },
      [](auto& b) { b.SetBackColor(0x81000005); }, [](auto& b) { b.SetForeColor(0x8000001F); },
      [](auto& b) { b.SetEnabled(false); }, [](auto& b) { b.SetIMEMode(4); },
      [](auto& b) { b.SetIMEMode(11); }, [](auto& b) { b.SetIMEMode(70000); },
      [](auto& b) { b.SetFont(kArial); }, [](auto& b) { b.SetFont(nullptr); }}},
};

// What both boxes go on to do, once the second is placed and again once it is taken out.
const std::vector<Step> kAfterPlacing = {
    [](auto& b) { b.SetSelStart(1); },     [](auto& b) { b.SetSelLength(1); },
    [](auto& b) { b.SetSelText(u"Z"); },   [](auto& b) { b.SetEnabled(true); },
    [](auto& b) { b.SetText(u"C:\\x"); },  [](auto& b) { b.SetMaxLength(2); },
    [](auto& b) { b.SetSelText(u"long"); }};

class BoxOnDemandTest : public ::testing::Test {
protected:
    void SetUp() override {
        top_ = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 400, 200, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(top_, nullptr);
    }
    void TearDown() override { ::DestroyWindow(top_); }

    // Runs the steps on both boxes and compares the result, the state and the changes after
    // each.
    void RunBoth(const std::vector<Step>& steps, FileNameBox& placed, FileNameBox& onDemand) {
        for (size_t i = 0; i < steps.size(); ++i) {
            SCOPED_TRACE("step " + std::to_string(i));
            EXPECT_EQ(Outcome(steps[i], placed), Outcome(steps[i], onDemand));
            EXPECT_EQ(StateOf(placed), StateOf(onDemand));
            EXPECT_EQ(placed.Font(), onDemand.Font());
            EXPECT_EQ(placedLog_.seen, onDemandLog_.seen);
        }
    }

    Win32System system_;
    Win32ControlHost host_;
    ChangeLog placedLog_;
    ChangeLog onDemandLog_;
    HWND top_ = nullptr;
};

TEST_F(BoxOnDemandTest, KeepsTheStateAsItsEditWouldAndHandsItOverWhenPlaced) {
    for (const auto& sequence : kSequences) {
        SCOPED_TRACE(sequence.what);
        placedLog_.seen.clear();
        onDemandLog_.seen.clear();
        FileNameBoxWindow placed(top_, RECT{10, 10, 310, 34}, 1, system_, host_, &placedLog_);
        FileNameBoxOnDemand onDemand(system_, host_, SIZE{300, 24}, &onDemandLog_);
        placedLog_.box = &placed.Box();
        onDemandLog_.box = &onDemand.Box();
        if (sequence.loaded) {
            placed.Box().ReadProperties(PropertyBag{});
            onDemand.Box().ReadProperties(PropertyBag{});
        }
        RunBoth(sequence.steps, placed.Box(), onDemand.Box());
        ASSERT_EQ(onDemand.Window(), nullptr);

        const HWND box = onDemand.Place(top_, RECT{10, 50, 310, 74});
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(::GetParent(box), top_);
        EXPECT_EQ(placedLog_.seen, onDemandLog_.seen); // the move is no change
        EXPECT_EQ(StateOf(placed.Box()), StateOf(onDemand.Box()));
        EXPECT_EQ(ReadEdit(placed.Handle()), ReadEdit(box));
        RunBoth(kAfterPlacing, placed.Box(), onDemand.Box());
        EXPECT_EQ(ReadEdit(placed.Handle()), ReadEdit(box));

        onDemand.Unplace(); // back into memory
        EXPECT_EQ(placedLog_.seen, onDemandLog_.seen);
        RunBoth(kAfterPlacing, placed.Box(), onDemand.Box());
        EXPECT_EQ(ReadEdit(placed.Handle()), ReadEdit(onDemand.Place(top_, RECT{10, 50, 310, 74})));
    }
}

// Windows 10 1703 and later refuse SetParent between windows of different DPI awareness, as in
// Office's hosting of mixed ones; Wine never does.
HWND WINAPI RefusedSetParent(HWND, HWND) {
    return nullptr;
}

// A box that needs its window before it is placed gets it among the message-only windows, at the
// size it kept; placed, that window moves into the parent, or where the system refuses the move
// the window is made there afresh with the state; taken out, the window goes and the state stays.
TEST_F(BoxOnDemandTest, AWindowMadeBeforePlacingMovesInAndGoesWhenTakenOut) {
    for (const bool moves : {true, false}) {
        SCOPED_TRACE(moves ? "moved" : "SetParent refused");
        BoxSystem system;
        if (!moves) {
            system.setParent = &RefusedSetParent;
        }
        FileNameBoxOnDemand onDemand(system_, host_, SIZE{120, 21}, nullptr, system);
        onDemand.Box().ReadProperties(PropertyBag{});
        onDemand.Box().SetText(u"C:\\x");
        onDemand.EnsureWindow();
        ASSERT_NE(onDemand.Window(), nullptr);
        const HWND parked = onDemand.Window()->Handle();
        EXPECT_EQ(::FindWindowExW(HWND_MESSAGE, nullptr, kFileNameBoxClass, nullptr), parked);
        EXPECT_EQ(ReadEdit(parked).find("C:\\x "), 0u);
        EXPECT_NE(ReadEdit(parked).find(" 120x21 "), std::string::npos);

        const HWND box = onDemand.Place(top_, RECT{10, 10, 210, 34});
        EXPECT_EQ(box == parked, moves);
        EXPECT_EQ(::IsWindow(parked) != FALSE, moves);
        EXPECT_TRUE(::IsChild(top_, box));
        EXPECT_EQ(ReadEdit(box).find("C:\\x "), 0u);
        EXPECT_NE(ReadEdit(box).find(" 200x24 "), std::string::npos);
        onDemand.Box().SetSelStart(2);
        onDemand.Unplace();
        EXPECT_FALSE(::IsWindow(box));
        EXPECT_EQ(onDemand.Window(), nullptr);
        EXPECT_EQ(onDemand.Box().Text(), u"C:\\x");
        EXPECT_EQ(onDemand.Box().SelStart(), 2);
    }
}

} // namespace
} // namespace relingo::win32
