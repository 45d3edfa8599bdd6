// What each input-method mode of the inner text box asks of the box's input method when the box
// takes the focus. The Win32 box turns it into calls on the EDIT's input-method context.
#pragma once

#include "filenamebox/InnerBoxRules.h"

#include <cstdint>
#include <optional>

namespace relingo {

// The conversion a mode asks for. Neither native nor katakana is the alphanumeric one; the
// same native bits are hiragana under a Japanese input method and hangul under a Korean one.
struct InputMethodConversion {
    bool native = false;
    bool katakana = false;
    bool fullWidth = false;

    bool operator==(const InputMethodConversion&) const = default;
};

struct InputMethodSetting {
    // False takes the input method away from the box; true gives it the thread's default one.
    bool withInputMethod = true;
    // What is not given is left as the user has it.
    std::optional<bool> open;
    std::optional<InputMethodConversion> conversion;
};

// The setting of a mode RequireValidIMEMode accepts; any other mode is refused the same way.
inline InputMethodSetting InputMethodSettingOf(int16_t mode) {
    RequireValidIMEMode(mode);
    constexpr auto kLeave = std::nullopt;
    static constexpr InputMethodSetting kSettings[kMaxIMEMode + 1] = {
        {true, kLeave, kLeave},                                   // 0 the user's own
        {true, true, kLeave},                                     // 1 on
        {true, false, kLeave},                                    // 2 off
        {false, kLeave, kLeave},                                  // 3 none
        {true, true, InputMethodConversion{true, false, true}},   // 4 hiragana
        {true, true, InputMethodConversion{true, true, true}},    // 5 katakana
        {true, true, InputMethodConversion{true, true, false}},   // 6 half-width katakana
        {true, true, InputMethodConversion{false, false, true}},  // 7 full-width alphanumeric
        {true, true, InputMethodConversion{false, false, false}}, // 8 alphanumeric
        {true, true, InputMethodConversion{true, false, true}},   // 9 hangul
        {true, true, InputMethodConversion{true, false, false}},  // 10 half-width hangul
    };
    return kSettings[mode];
}

} // namespace relingo
