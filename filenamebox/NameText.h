// Text operations on file names that need nothing but the text.
#pragma once

#include <string>
#include <string_view>

namespace relingo {

// The characters that a name in the box may not hold, in the order the fault box lists them:
// "/<>?|*'" and the double quote.
inline constexpr std::u16string_view kIllegalChars = u"/<>?|*'\"";

// A copy in which every run of spaces (U+0020 only) is one space; the name itself is never
// changed, the copy only serves to find components made of spaces.
std::u16string CollapseSpaces(std::u16string_view text);

// The text before its last dot, looked for in the whole text (folder names included); the text
// unchanged when it holds no dot.
std::u16string StripExtension(std::u16string_view text);

} // namespace relingo
