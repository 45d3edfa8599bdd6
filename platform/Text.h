// Helpers for the program's text type: UTF-16 strings whose positions count code units.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace relingo {

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);
// UTF-8 to UTF-16; a malformed sequence becomes U+FFFD.
std::u16string FromUtf8(std::string_view text);

// Upper-cases the ASCII letters a to z and leaves every other character as it is, so that
// comparisons against fixed ASCII words never depend on the user's locale.
std::u16string AsciiUpper(std::u16string_view text);

// True for the letters A to Z and a to z only, so that a drive letter never depends on the
// user's locale: no other letter names a drive.
bool IsAsciiLetter(char16_t c);

// True when the text begins with a drive letter and a colon, as "C:" and "c:\x" do.
bool HasDriveLetter(std::u16string_view path);

// The text before the first colon, which names the drive of a path ("C" for "C:\x"); "" when
// there is no colon.
std::u16string TextBeforeFirstColon(std::u16string_view text);

// Removes leading and trailing spaces (U+0020 only).
std::u16string TrimSpaces(std::u16string_view text);

// The decimal form of a number: a minus sign when negative, no leading zeros, no grouping.
std::u16string ToDecimal(int64_t number);

// Parses optional surrounding spaces, an optional sign and decimal digits into a 32-bit number;
// nothing when the text is anything else or the value does not fit.
std::optional<int32_t> ParseWholeNumber(std::u16string_view text);

} // namespace relingo
