// Texts kept in English and Japanese, and the one rule that picks the language of a text:
// Japanese for the locale 1041, English for every other locale.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace relingo {

// One row of a catalogue: a number and its text in both languages. A text used on its own,
// outside a catalogue, leaves the key 0.
struct LocalizedText {
    int32_t key;
    const char16_t* english;
    const char16_t* japanese;
};

// Only the exact locale 1041 counts: other East Asian locales, and values that merely share its
// low bits, get English.
bool IsJapaneseLocale(int32_t localeId);

// The row's text in the language of the locale.
std::u16string InLanguage(const LocalizedText& row, int32_t localeId);

// The text of the first row whose key equals key, in the language of the locale; nothing when
// no row has the key, so that each catalogue keeps its own fallback.
std::optional<std::u16string> LookUpText(std::span<const LocalizedText> catalogue, int32_t key,
                                         int32_t localeId);

} // namespace relingo
