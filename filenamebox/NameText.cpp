#include "filenamebox/NameText.h"

namespace relingo {

std::u16string CollapseSpaces(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    bool inRun = false;
    for (const char16_t c : text) {
        if (c == u' ') {
            if (!inRun) {
                out += c;
            }
            inRun = true;
        } else {
            out += c;
            inRun = false;
        }
    }
    return out;
}

std::u16string StripExtension(std::u16string_view text) {
    const size_t dot = text.rfind(u'.');
    return std::u16string(dot == std::u16string_view::npos ? text : text.substr(0, dot));
}

} // namespace relingo
