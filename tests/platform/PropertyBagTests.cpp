#include "platform/Error.h"
#include "platform/PropertyBag.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

namespace relingo {
namespace {

int ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        return e.Number();
    }
    return 0;
}

TEST(PropertyBagTest, AbsentKeysGiveTheReadersDefaults) {
    const PropertyBag bag;
    const auto font = std::make_shared<Font>();
    EXPECT_TRUE(bag.ReadBoolean(u"Enabled", true));
    EXPECT_EQ(bag.ReadInteger(u"IMEMode", 3), 3);
    EXPECT_EQ(bag.ReadLong(u"BackColor", static_cast<int32_t>(0x80000005u)),
              static_cast<int32_t>(0x80000005u));
    EXPECT_EQ(bag.ReadString(u"Filter", u"All Files(*.*)|*.*"), u"All Files(*.*)|*.*");
    EXPECT_EQ(bag.ReadFont(u"Font", font), font);
}

TEST(PropertyBagTest, AValueEqualToItsDefaultIsNotStored) {
    PropertyBag bag;
    bag.Write(u"Enabled", true, true);
    bag.Write(u"MaxLength", int32_t{0}, int16_t{0}); // same number, other width
    bag.Write(u"Filter", std::u16string(u"x"), std::u16string(u"x"));
    bag.Write(u"Font", std::make_shared<Font>(), std::make_shared<Font>());
    EXPECT_EQ(bag.Size(), 0u);

    bag.Write(u"MaxLength", int32_t{5}, int16_t{0});
    EXPECT_EQ(bag.ReadLong(u"MaxLength", 0), 5);
    // Writing the default again takes the stored value out.
    bag.Write(u"maxlength", int32_t{0}, int16_t{0});
    EXPECT_FALSE(bag.Contains(u"MaxLength"));
}

TEST(PropertyBagTest, NumbersConvertBetweenWidthsAndOtherKindsMismatch) {
    PropertyBag bag;
    bag.Write(u"Small", int16_t{-7}, int16_t{0});
    bag.Write(u"Big", int32_t{70000}, int32_t{0});
    bag.Write(u"Name", std::u16string(u"x"), std::u16string());
    bag.Write(u"Flag", false, true);

    EXPECT_EQ(bag.ReadLong(u"Small", 0), -7);
    EXPECT_EQ(ErrorNumberOf([&] { bag.ReadInteger(u"Big", 0); }), errnum::kOverflow);
    EXPECT_EQ(ErrorNumberOf([&] { bag.ReadLong(u"Name", 0); }), errnum::kTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([&] { bag.ReadString(u"Flag", u""); }), errnum::kTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([&] { bag.ReadBoolean(u"Small", true); }), errnum::kTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([&] { bag.ReadFont(u"Name", nullptr); }), errnum::kTypeMismatch);
}

TEST(PropertyBagTest, FontsAreSharedByReference) {
    PropertyBag bag;
    auto font = std::make_shared<Font>();
    font->name = u"Tahoma";
    bag.Write(u"Font", font, std::make_shared<Font>());
    EXPECT_EQ(bag.ReadFont(u"Font", nullptr), font);
}

TEST(PropertyBagTextTest, RoundTripKeepsEveryKindAndAwkwardStrings) {
    PropertyBag bag;
    bag.Write(u"Enabled", false, true);
    bag.Write(u"IMEMode", int16_t{-3}, int16_t{0});
    bag.Write(u"BackColor", static_cast<int32_t>(0x80000005u), int32_t{0});
    const std::u16string awkward =
        u"say \"hi\"\r\n\ttab|\u30D5\u30A1\u30A4\u30EB\xD800 end\U0001F600";
    bag.Write(u"DefaultValue", awkward, std::u16string());
    bag.Write(u"Empty", std::u16string(), std::u16string(u"x"));
    auto font = std::make_shared<Font>();
    font->name = u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF";
    font->size = 9;
    font->charset = kJapaneseCharset;
    font->weight = 700;
    font->italic = true;
    bag.Write(u"Font", font, std::make_shared<Font>());

    const PropertyBag loaded = PropertyBag::Load(bag.Save());
    ASSERT_EQ(loaded.Size(), bag.Size());
    EXPECT_FALSE(loaded.ReadBoolean(u"Enabled", true));
    EXPECT_EQ(loaded.ReadInteger(u"IMEMode", 0), -3);
    EXPECT_EQ(loaded.ReadLong(u"BackColor", 0), static_cast<int32_t>(0x80000005u));
    EXPECT_EQ(loaded.ReadString(u"DefaultValue", u""), awkward);
    EXPECT_EQ(loaded.ReadString(u"Empty", u"x"), u"");
    EXPECT_EQ(*loaded.ReadFont(u"Font", nullptr), *font);
    EXPECT_EQ(loaded.Save(), bag.Save());
}

TEST(PropertyBagTextTest, ReadsHandWrittenDesignData) {
    const PropertyBag bag = PropertyBag::Load("' designed properties\r\n"
                                              "\r\n"
                                              "  Mode = 1&\r\n"
                                              "BackColor = &H80000005&\n"
                                              "Mask = &HFFFF%\n"
                                              "Filter = \"Program Files(*.exe)|*.exe\"\n"
                                              "BeginProperty Font\n"
                                              "   Name = \"Tahoma\"\n"
                                              "   Size = 9.75\n"
                                              "EndProperty\n");
    EXPECT_EQ(bag.ReadLong(u"Mode", 0), 1);
    EXPECT_EQ(bag.ReadLong(u"backcolor", 0), static_cast<int32_t>(0x80000005u));
    EXPECT_EQ(bag.ReadInteger(u"Mask", 0), -1);
    EXPECT_EQ(bag.ReadString(u"Filter", u""), u"Program Files(*.exe)|*.exe");
    const FontPtr font = bag.ReadFont(u"Font", nullptr);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->name, u"Tahoma");
    EXPECT_DOUBLE_EQ(font->size, 9.75);
    EXPECT_EQ(font->weight, 400); // fields left out keep their usual values
}

struct MalformedCase {
    const char* text;
    int line;
};

class PropertyBagMalformedTest : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(PropertyBagMalformedTest, FailsNamingTheLine) {
    try {
        PropertyBag::Load(GetParam().text);
        FAIL() << "loaded: " << GetParam().text;
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), errnum::kInvalidFileFormat);
        const std::u16string where = u"line " + ToDecimal(GetParam().line) + u":";
        EXPECT_NE(e.Description().find(where), std::u16string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PropertyBagMalformedTest,
    ::testing::Values(MalformedCase{"Mode 1&", 1}, MalformedCase{"A = True\nMode = 1", 2},
                      MalformedCase{"Mode = 99999999999&", 1}, MalformedCase{"Mode = 70000%", 1},
                      MalformedCase{"Name = \"open", 1}, MalformedCase{"Name = \"a\" junk", 1},
                      MalformedCase{"X = Maybe", 1}, MalformedCase{"X = ChrW(70000)", 1},
                      MalformedCase{"A = 1&\nA = 2&", 2}, MalformedCase{"= 1&", 1},
                      MalformedCase{"BeginProperty Font\n  Colour = 1\nEndProperty", 2},
                      MalformedCase{"BeginProperty Font\n  Name = \"x\"", 2},
                      MalformedCase{"BeginProperty Font\n  Size = big\nEndProperty", 2}));

TEST(PropertyBagTextTest, AFailedLoadLeavesTheTargetAsItWas) {
    PropertyBag bag = PropertyBag::Load("Mode = 2&");
    EXPECT_THROW(bag = PropertyBag::Load("Mode = 3&\nbroken"), Error);
    EXPECT_EQ(bag.ReadLong(u"Mode", 0), 2);
    EXPECT_EQ(bag.Size(), 1u);
}

} // namespace
} // namespace relingo
