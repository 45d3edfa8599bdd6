// The language rule and the catalogue lookup that both controls' texts go through.
#include "platform/LocalizedText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace relingo {
namespace {

constexpr LocalizedText kRows[] = {
    {7, u"seven", u"七"},
    {-32768, u"lowest", u"最小"},
    {7, u"seven again", u"また七"},
};

TEST(LocalizedTextTest, OnlyLocale1041ChoosesJapanese) {
    const struct {
        int32_t locale;
        const char16_t* expected;
    } cases[] = {
        {1041, u"七"},    {1033, u"seven"}, {2052, u"seven"},  {1042, u"seven"},
        {1028, u"seven"}, {0, u"seven"},    {-1041, u"seven"}, {0x10411, u"seven"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InLanguage(kRows[0], c.locale), c.expected) << c.locale;
    }
}

TEST(LocalizedTextTest, LookUpFindsTheFirstRowWithTheKey) {
    const struct {
        int32_t key;
        int32_t locale;
        std::optional<std::u16string> expected;
    } cases[] = {
        {7, 1033, u"seven"},       {7, 1041, u"七"},
        {-32768, 1033, u"lowest"}, {32768, 1033, std::nullopt}, // the same low 16 bits as -32768
        {0, 1041, std::nullopt},   {8, 1033, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LookUpText(kRows, c.key, c.locale), c.expected) << c.key << " " << c.locale;
    }
}

} // namespace
} // namespace relingo
