// The stream a COM host keeps a control in (IPersistStreamInit): a small header and the
// control's properties in the property bag's text form, so that the stream stores the same
// properties, with the same defaults, as the host's property bag does.
//
//   bytes 0-3    "RLGO"
//   bytes 4-7    the format's version, 1, little-endian
//   bytes 8-11   the length n of the text in bytes, little-endian
//   n bytes      the text form of the bag (PropertyBag::Save), UTF-8
#pragma once

#include "platform/PropertyBag.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace relingo::com {

inline constexpr size_t kStreamHeaderSize = 12;
inline constexpr uint32_t kStreamVersion = 1;
// A control's properties take a few hundred bytes; a longer text is no stream of this format.
inline constexpr uint32_t kMaxStreamText = 1u << 20;

// The header and text of the bag.
std::string EncodeStream(const PropertyBag& bag);

// The length of the text that follows the header. Fails with error 321 (Invalid file format)
// for a header of another format or version, or a length beyond kMaxStreamText.
uint32_t StreamTextLength(std::string_view header);

// The bag the text describes; fails with error 321 as PropertyBag::Load does.
PropertyBag DecodeStreamText(std::string_view text);

} // namespace relingo::com
