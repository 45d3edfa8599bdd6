// The part of a control's place that its container lets it show: a container in a frame or a
// scrolled page places the control partly outside the area it shows, and hands that area over
// as the clip rectangle (IOleInPlaceObject::SetObjectRects, IOleInPlaceSite::GetWindowContext).
#pragma once

#include <windows.h>

#include <optional>

namespace relingo::com {

// What of position is to be seen inside clip, in the coordinates of a window at position; none
// when the clip covers it all (or there is no clip), so that the window needs no region.
std::optional<RECT> VisiblePart(const RECT& position, const RECT* clip);

// Clips window, placed at position, to the part the clip lets it show: a window region, or none
// when it shows whole. clipped tells whether the window has a region of the control's now, so
// that a window that needs none is not given none again.
void ClipWindow(HWND window, const RECT& position, const RECT* clip, bool& clipped);

} // namespace relingo::com
