// The keys of an active control, as its container's message loop hands them over: the container
// asks the control first (IOleInPlaceActiveObject::TranslateAccelerator) and dispatches the key
// only when the control answers S_FALSE. The control keeps the keys its own window needs for
// editing and gives every other key back to the container through its site, which moves the
// focus on Tab, presses the default button on Enter and runs the form's accelerators.
#pragma once

#include <windows.h>

#include <ocidl.h>

namespace relingo::com {

// The modifier keys IOleControlSite::TranslateAccelerator takes (KEYMODIFIERS in the Windows
// SDK's ocidl.h; MinGW's lacks them).
inline constexpr DWORD kKeyModShift = 1;
inline constexpr DWORD kKeyModControl = 2;
inline constexpr DWORD kKeyModAlt = 4;

// Whether the message is one of the keys an edit box moves and deletes with, which the control
// keeps whatever modifier keys are held: the arrows, Home, End and Delete going down or up.
bool IsEditingKey(const MSG& message);

// The modifier keys held, as IOleControlSite::TranslateAccelerator takes them (kKeyMod...).
DWORD HeldKeyModifiers();

// Answers TranslateAccelerator for a control whose editing keys go to editWindow (null for a
// control without one): an editing key for that window is sent to it, and S_OK says it is
// handled; any other key goes to the site, whose answer is returned (S_OK or S_FALSE); without a
// site, or for a message that is no key, the answer is S_FALSE and the container dispatches it.
HRESULT TranslateControlKey(const MSG& message, HWND editWindow, IOleControlSite* site);

} // namespace relingo::com
