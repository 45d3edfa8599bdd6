// Window handles as portable code holds them: pointer-wide integers, 0 for none, so that only
// the Win32 backends know the HWND type.
#pragma once

#include <cstdint>

namespace relingo {

// Windows keeps only the low 32 bits of a window handle significant, so that 32-bit and 64-bit
// programs can share handles: a handle may be cut to 32 bits for a property of that width and
// comes back by sign extension, the rule of the platform's HandleToLong and LongToHandle.
constexpr int32_t WindowHandleToLong(intptr_t handle) {
    return static_cast<int32_t>(handle);
}

constexpr intptr_t LongToWindowHandle(int32_t handle) {
    return static_cast<intptr_t>(handle);
}

} // namespace relingo
