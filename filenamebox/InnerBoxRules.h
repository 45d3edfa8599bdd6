// What the inner text box accepts for its properties, shared by every implementation of it so
// that a value refused on Windows is refused everywhere.
#pragma once

#include "platform/Error.h"
#include "platform/HostServices.h"

#include <cstdint>

namespace relingo {

// The highest input-method mode a text box knows (0 no control ... 10 Hangul).
inline constexpr int16_t kMaxIMEMode = 10;
// The highest system colour index an OLE colour may name (COLOR_MENUBAR).
inline constexpr uint32_t kMaxSystemColorIndex = 30;

// An OLE colour is either an RGB value (top byte 0) or a system colour: the top bit set and
// the index of a known system colour in the low byte.
inline bool IsValidOleColor(uint32_t color) {
    if ((color & olecolor::kSystemFlag) != 0) {
        return (color & 0x7FFFFF00u) == 0 && (color & 0xFFu) <= kMaxSystemColorIndex;
    }
    return (color & 0xFF000000u) == 0;
}

inline void RequireValidOleColor(uint32_t color) {
    if (!IsValidOleColor(color)) {
        throw Error(errnum::kInvalidPropertyValue);
    }
}

inline void RequireNotNegative(int32_t value) {
    if (value < 0) {
        throw Error(errnum::kInvalidPropertyValue);
    }
}

inline void RequireValidIMEMode(int16_t mode) {
    if (mode < 0 || mode > kMaxIMEMode) {
        throw Error(errnum::kInvalidPropertyValue);
    }
}

inline void RequireFont(const FontPtr& font) {
    if (!font) {
        throw Error(errnum::kInvalidPropertyValue);
    }
}

} // namespace relingo
