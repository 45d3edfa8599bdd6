// The server's registration, written from one table under HKEY_LOCAL_MACHINE\Software\Classes
// (for the machine) or HKEY_CURRENT_USER\Software\Classes (for the user): both controls' class
// ids and ProgIDs, the type library and its interfaces. Unregistering removes what the table
// names and nothing else; the type library's shared keys go only with its last platform.
#pragma once

#include <windows.h>

namespace relingo::com {

enum class RegistrationScope { User, Machine };

HRESULT RegisterServer(RegistrationScope scope) noexcept;
HRESULT UnregisterServer(RegistrationScope scope) noexcept;

} // namespace relingo::com
