// What each input-method mode asks of the box's input method; the Win32 tests check that the
// real context ends up in that state.
#include "filenamebox/InputMethodSetting.h"

#include <gtest/gtest.h>

#include <iterator>
#include <optional>

namespace relingo {
namespace {

struct ModeCase {
    int16_t mode;
    bool withInputMethod;
    std::optional<bool> open;
    bool setsConversion;
};

constexpr ModeCase kModes[] = {
    {0, true, std::nullopt, false},  {1, true, true, false}, {2, true, false, false},
    {3, false, std::nullopt, false}, {4, true, true, true},  {5, true, true, true},
    {6, true, true, true},           {7, true, true, true},  {8, true, true, true},
    {9, true, true, true},           {10, true, true, true},
};

TEST(InputMethodSettingTest, EveryModeOpensClosesOrLeavesTheInputMethod) {
    static_assert(std::size(kModes) == kMaxIMEMode + 1);
    for (const ModeCase& c : kModes) {
        const InputMethodSetting setting = InputMethodSettingOf(c.mode);
        EXPECT_EQ(setting.withInputMethod, c.withInputMethod) << c.mode;
        EXPECT_EQ(setting.open, c.open) << c.mode;
        EXPECT_EQ(setting.conversion.has_value(), c.setsConversion) << c.mode;
    }
}

TEST(InputMethodSettingTest, AModeOutsideTheRangeIsRefused) {
    for (const int16_t mode : {int16_t{-1}, int16_t{11}, int16_t{32767}}) {
        try {
            InputMethodSettingOf(mode);
            ADD_FAILURE() << mode;
        } catch (const Error& e) {
            EXPECT_EQ(e.Number(), errnum::kInvalidPropertyValue) << mode;
        }
    }
}

} // namespace
} // namespace relingo
