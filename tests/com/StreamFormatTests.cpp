#include "com/StreamFormat.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

#include <string>

namespace relingo::com {
namespace {

std::string Header(std::string_view magic, uint32_t version, uint32_t length) {
    std::string header(magic);
    for (uint32_t value : {version, length}) {
        for (int shift = 0; shift < 32; shift += 8) {
            header += static_cast<char>((value >> shift) & 0xFF);
        }
    }
    return header;
}

TEST(StreamFormatTest, ABagComesBackWithItsValuesAndItsTextLength) {
    PropertyBag bag;
    bag.Write(u"Mode", int32_t{1}, int16_t{0});
    bag.Write(u"DefaultValue", std::u16string(u"C:\\データ\\a.txt"), std::u16string());
    bag.Write(u"MessageShow", false, true);
    auto font = std::make_shared<Font>();
    font->name = u"ＭＳ Ｐゴシック";
    font->charset = 128;
    bag.Write(u"Font", font, std::make_shared<Font>());

    const std::string bytes = EncodeStream(bag);
    const uint32_t length = StreamTextLength(bytes.substr(0, kStreamHeaderSize));
    ASSERT_EQ(bytes.size(), kStreamHeaderSize + length);
    const PropertyBag read = DecodeStreamText(bytes.substr(kStreamHeaderSize));

    EXPECT_EQ(read.ReadLong(u"Mode", 0), 1);
    EXPECT_EQ(read.ReadString(u"DefaultValue", u""), u"C:\\データ\\a.txt");
    EXPECT_FALSE(read.ReadBoolean(u"MessageShow", true));
    EXPECT_EQ(*read.ReadFont(u"Font", nullptr), *font);
    EXPECT_EQ(read.Size(), 4u);
}

TEST(StreamFormatTest, AnEmptyBagIsTheHeaderAlone) {
    const std::string bytes = EncodeStream(PropertyBag());
    EXPECT_EQ(bytes, Header("RLGO", 1, 0));
}

TEST(StreamFormatTest, HeadersOfAnotherFormatAreRefusedAsInvalidFileFormat) {
    const struct {
        const char* what;
        std::string header;
    } cases[] = {
        {"too short", "RLGO\1\0\0"},
        {"another magic", Header("RLGX", 1, 10)},
        {"a later version", Header("RLGO", 2, 10)},
        {"a text too long", Header("RLGO", 1, kMaxStreamText + 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            StreamTextLength(c.header);
            ADD_FAILURE() << "accepted";
        } catch (const Error& error) {
            EXPECT_EQ(error.Number(), errnum::kInvalidFileFormat);
        }
    }
}

TEST(StreamFormatTest, TheLongestTextAllowedIsAccepted) {
    EXPECT_EQ(StreamTextLength(Header("RLGO", 1, kMaxStreamText)), kMaxStreamText);
}

} // namespace
} // namespace relingo::com
