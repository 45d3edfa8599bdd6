#include "com/StreamFormat.h"

#include "platform/Error.h"

namespace relingo::com {

namespace {

constexpr std::string_view kMagic = "RLGO";

void AppendLittleEndian(std::string& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

uint32_t ReadLittleEndian(std::string_view bytes) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    return value;
}

[[noreturn]] void NotThisFormat(const char16_t* what) {
    throw Error(errnum::kInvalidFileFormat, std::u16string(u"Invalid file format: ") + what);
}

} // namespace

std::string EncodeStream(const PropertyBag& bag) {
    const std::string text = bag.Save();
    std::string out(kMagic);
    AppendLittleEndian(out, kStreamVersion);
    AppendLittleEndian(out, static_cast<uint32_t>(text.size()));
    return out + text;
}

uint32_t StreamTextLength(std::string_view header) {
    if (header.size() < kStreamHeaderSize || header.substr(0, kMagic.size()) != kMagic) {
        NotThisFormat(u"the stream holds no control properties");
    }
    if (ReadLittleEndian(header.substr(4)) != kStreamVersion) {
        NotThisFormat(u"the stream was written by another version");
    }
    const uint32_t length = ReadLittleEndian(header.substr(8));
    if (length > kMaxStreamText) {
        NotThisFormat(u"the stream's properties are too long");
    }
    return length;
}

PropertyBag DecodeStreamText(std::string_view text) {
    return PropertyBag::Load(text);
}

} // namespace relingo::com
