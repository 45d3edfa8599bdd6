#include "platform/LocalizedText.h"

#include "platform/HostServices.h"

#include <algorithm>

namespace relingo {

bool IsJapaneseLocale(int32_t localeId) {
    return localeId == kLocaleJapanese;
}

std::u16string InLanguage(const LocalizedText& row, int32_t localeId) {
    return IsJapaneseLocale(localeId) ? row.japanese : row.english;
}

std::optional<std::u16string> LookUpText(std::span<const LocalizedText> catalogue, int32_t key,
                                         int32_t localeId) {
    const auto row =
        std::find_if(catalogue.begin(), catalogue.end(),
                     [key](const LocalizedText& candidate) { return candidate.key == key; });
    if (row == catalogue.end()) {
        return std::nullopt;
    }
    return InLanguage(*row, localeId);
}

} // namespace relingo
