#include "main_window/modWinAPI.h"

#include "platform/SystemServices.h"

namespace relingo::modWinAPI {

std::u16string GetDesktopFolder(SystemServices& system, intptr_t ownerWindow) {
    return system.DesktopFolder(ownerWindow);
}

std::u16string GetSystemFolder(SystemServices& system) {
    return system.SystemFolder();
}

} // namespace relingo::modWinAPI
