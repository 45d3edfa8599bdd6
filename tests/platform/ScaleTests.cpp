#include "platform/Error.h"
#include "platform/Scale.h"

#include <gtest/gtest.h>

namespace relingo {
namespace {

// The designed window's twips at the usual screens: whole pixels at 96 and 144, and the
// halves and quarters of 120 rounded to the nearest.
TEST(ScaleTest, TwipsBecomeTheNearestWholePixel) {
    const struct {
        int32_t twips;
        uint32_t dpi;
        int32_t pixels;
    } cases[] = {
        {9315, 96, 621}, {2025, 96, 135}, {255, 96, 17}, {1695, 144, 170}, {1695, 120, 141},
        {375, 120, 31},  {6, 120, 1},     {5, 120, 0},   {0, 96, 0},       {9315, 192, 1242},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
    }
}

TEST(ScaleTest, ConvertsBetweenEveryKnownScale) {
    const struct {
        float value;
        int16_t from;
        int16_t to;
        bool vertical;
        float expected;
    } cases[] = {
        {144, scale::kPixels, scale::kContainerPosition, false, 1440},
        {1440, scale::kContainerSize, scale::kPixels, true, 144},
        {72, scale::kPoints, scale::kInches, false, 1},
        {1, scale::kInches, scale::kMillimeters, false, 25.4f},
        {1, scale::kCentimeters, scale::kMillimeters, false, 10},
        {1, 4, scale::kTwips, false, 120}, // a character cell is 120 twips wide
        {1, 4, scale::kTwips, true, 240},  // and 240 twips high
    };
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(ConvertScale(c.value, c.from, c.to, 144, c.vertical), c.expected)
            << c.from << " to " << c.to;
    }
}

TEST(ScaleTest, AnUnknownScaleIsAnInvalidProcedureCall) {
    for (const int16_t unknown : {int16_t{0}, int16_t{8}, int16_t{11}, int16_t{-1}}) {
        try {
            ConvertScale(1, unknown, scale::kTwips, 96, false);
            ADD_FAILURE() << "no error from scale " << unknown;
        } catch (const Error& e) {
            EXPECT_EQ(e.Number(), errnum::kInvalidProcedureCall);
        }
    }
}

} // namespace
} // namespace relingo
