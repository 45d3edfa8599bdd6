// The name that accessibility tools read for a control whose label the system cannot find
// itself: the name box's EDIT sits inside the box's own window, so no label precedes it.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include "platform/win32/ComObject.h"

#include <optional>
#include <string>

namespace relingo::win32 {

// The caption of the label that precedes window in its parent's tab order, without its access
// key marks ("&&" stays one "&"); none when the window before it is not a label.
std::optional<std::wstring> LabelCaptionBefore(HWND window);

// The system's own accessible object for window's client area, whose name for itself is name:
// a new reference, or null when the accessibility library is not there. counts hears of the
// object for as long as it lives.
IAccessible* NamedClientObject(HWND window, const std::wstring& name, ObjectCounts counts = {});

// Answers WM_GETOBJECT for window's client object: the system's own accessible object for the
// window, whose name for itself is name. Returns 0, as an unanswered WM_GETOBJECT does, when
// the accessibility library is not there. The library is loaded on the first question only, so
// that a program nobody inspects never loads it.
LRESULT AnswerClientObject(HWND window, WPARAM flags, const std::wstring& name,
                           ObjectCounts counts = {});

} // namespace relingo::win32
