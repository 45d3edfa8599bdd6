// The inner box of a box without a window: the state it keeps moves into the real box as it is,
// without a change reaching the owner, everything goes to the real box from then on, and the
// state comes back the same way.
#include "filenamebox/DeferredTextBox.h"
#include "platform/Error.h"
#include "tests/fakes/FakeTextBox.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace relingo::test {
namespace {

class Owner : public TextBoxEvents {
public:
    int changes = 0;
    std::u16string typed;
    void OnChange() override { ++changes; }
    void OnClick() override {}
    void OnDblClick() override {}
    void OnKeyDown(int16_t&, int16_t&) override {}
    void OnKeyPress(int16_t& keyAscii) override { typed += static_cast<char16_t>(keyAscii); }
    void OnKeyUp(int16_t&, int16_t&) override {}
    void OnMouseDown(int16_t&, int16_t&, float, float) override {}
    void OnMouseMove(int16_t&, int16_t&, float, float) override {}
    void OnMouseUp(int16_t&, int16_t&, float, float) override {}
    void OnLeave() override {}
    void OnLostFocus() override {}
    void OnDropFiles(const std::vector<std::u16string>*) override {}
};

std::string StateOf(const TextBox& box) {
    return std::to_string(box.Text().size()) + " " + std::to_string(box.SelStart()) + "+" +
           std::to_string(box.SelLength()) + " " + std::to_string(box.BackColor()) + " " +
           std::to_string(box.ForeColor()) + " " + std::to_string(box.Enabled()) + " " +
           std::to_string(box.IMEMode()) + " " + std::to_string(box.MaxLength()) + " " +
           std::to_string(box.Width()) + "x" + std::to_string(box.Height());
}

TEST(DeferredTextBoxTest, TheStateMovesIntoTheRealBoxAndBackWithoutAChange) {
    Owner owner;
    DeferredTextBox box(nullptr, 120, 21);
    box.SetEvents(&owner);
    box.SetText(u"C:\\folder\\file.txt");
    box.SetSelStart(3);
    box.SetSelLength(6);
    box.SetBackColor(0x000000FF);
    box.SetForeColor(0x80000012);
    box.SetEnabled(false);
    const auto font = std::make_shared<Font>(Font{u"Arial"});
    box.SetFont(font);
    box.SetIMEMode(4);
    box.SetMaxLength(40);
    const std::string kept = StateOf(box);
    owner.changes = 0;

    FakeTextBox real;
    box.Attach(real);
    EXPECT_TRUE(box.Attached());
    EXPECT_EQ(StateOf(real), kept);
    EXPECT_EQ(real.Text(), u"C:\\folder\\file.txt");
    EXPECT_EQ(real.GetFont(), font);
    EXPECT_EQ(owner.changes, 0);

    box.SetSelText(u"dir");
    EXPECT_EQ(real.Text(), u"C:\\dir\\file.txt");
    real.Type(u"x");
    EXPECT_EQ(owner.typed, u"x");
    EXPECT_EQ(owner.changes, 2);

    box.Detach();
    EXPECT_FALSE(box.Attached());
    EXPECT_EQ(StateOf(box), StateOf(real));
    EXPECT_EQ(box.Text(), real.Text());
    EXPECT_EQ(owner.changes, 2);
    box.SetText(u"C:\\memory");
    EXPECT_EQ(owner.changes, 3);
    EXPECT_NE(real.Text(), u"C:\\memory");
}

// A box new from the system has a limit of its own, which only a MaxLength once set replaces.
TEST(DeferredTextBoxTest, OnlyAMaxLengthOnceSetMoves) {
    const struct {
        bool set;
        int32_t expected;
    } cases[] = {{false, 30000}, {true, 0}};
    for (const auto& c : cases) {
        DeferredTextBox box(nullptr, 0, 0);
        if (c.set) {
            box.SetMaxLength(0);
        }
        FakeTextBox real;
        real.SetMaxLength(30000);
        box.Attach(real);
        EXPECT_EQ(real.MaxLength(), c.expected) << c.set;
    }
}

TEST(DeferredTextBoxTest, AMoveThatFailsLeavesTheBoxInMemory) {
    DeferredTextBox box(nullptr, 0, 0);
    box.SetText(u"kept");
    FakeTextBox failing;
    failing.FailNextSet(Error(errnum::kOutOfMemory));
    EXPECT_THROW(box.Attach(failing), Error);
    EXPECT_FALSE(box.Attached());
    box.SetText(u"still kept");
    EXPECT_EQ(failing.Text(), u"");
    FakeTextBox real;
    box.Attach(real);
    EXPECT_EQ(real.Text(), u"still kept");
}

TEST(DeferredTextBoxTest, TakingTheFocusAsksForTheRealBoxFirst) {
    FakeTextBox real;
    DeferredTextBox* self = nullptr;
    DeferredTextBox box(nullptr, 0, 0, [&] { self->Attach(real); });
    self = &box;
    box.SetFocus();
    EXPECT_TRUE(box.Attached());
    EXPECT_EQ(real.setFocusCalls, 1);
}

} // namespace
} // namespace relingo::test
