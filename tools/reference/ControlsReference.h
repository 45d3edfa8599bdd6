// The reference of the controls, docs/CONTROLS.md, written from the type library built into the
// server and the notes beside it: every member in the type library's order, with its dispatch id,
// its type or parameters as the library gives them, and its note. A member of the library
// without a note, a note without its member, and values noted otherwise than the library and the
// box have them are errors (std::runtime_error), so that the reference cannot drift from either.
#pragma once

#include <windows.h>

#include "tools/reference/MemberNotes.h"

#include <span>
#include <string>

namespace relingo::reference {

std::string WriteReference(const wchar_t* server, std::span<const MemberNote> notes,
                           std::span<const ValueNote> values);

} // namespace relingo::reference
