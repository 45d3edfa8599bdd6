// The program's UTF-16 text and the wide strings of the Win32 API are the same code units.
#pragma once

#include <string>
#include <string_view>

namespace relingo::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide strings are UTF-16");

inline std::wstring ToWide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}
inline std::u16string FromWide(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}
// True when the text can pass through a NUL-terminated API argument unchanged.
inline bool HasNoNul(std::u16string_view text) {
    return text.find(u'\0') == std::u16string_view::npos;
}

} // namespace relingo::win32
