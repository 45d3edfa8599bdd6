// The Windows folder lookups the main window needs.
#pragma once

#include <cstdint>
#include <string>

namespace relingo {

class SystemServices;

namespace modWinAPI {

// The user's desktop folder, or "" when Windows cannot tell it.
std::u16string GetDesktopFolder(SystemServices& system, intptr_t ownerWindow);

// The Windows system folder.
std::u16string GetSystemFolder(SystemServices& system);

} // namespace modWinAPI
} // namespace relingo
