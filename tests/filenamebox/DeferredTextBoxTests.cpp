// The inner box of a box without a window, where the real box fails or is asked for; the state
// moving across and back is held against a real EDIT in Win32BoxOnDemandTests.
#include "filenamebox/DeferredTextBox.h"
#include "platform/Error.h"
#include "tests/fakes/FakeTextBox.h"

#include <gtest/gtest.h>

namespace relingo::test {
namespace {

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
