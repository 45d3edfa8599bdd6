#include "com/InPlaceClip.h"

namespace relingo::com {

std::optional<RECT> VisiblePart(const RECT& position, const RECT* clip) {
    if (clip == nullptr) {
        return std::nullopt;
    }
    RECT visible = {};
    if (!::IntersectRect(&visible, &position, clip)) {
        return RECT{}; // nothing of the control is to be seen
    }
    if (::EqualRect(&visible, &position)) {
        return std::nullopt;
    }
    ::OffsetRect(&visible, -position.left, -position.top);
    return visible;
}

// The system owns a region once it is the window's.
void ClipWindow(HWND window, const RECT& position, const RECT* clip, bool& clipped) {
    const std::optional<RECT> visible = VisiblePart(position, clip);
    if (!visible) {
        if (clipped) {
            ::SetWindowRgn(window, nullptr, TRUE);
            clipped = false;
        }
        return;
    }
    if (const HRGN region = ::CreateRectRgnIndirect(&*visible)) {
        if (::SetWindowRgn(window, region, TRUE)) {
            clipped = true;
        } else {
            ::DeleteObject(region);
        }
    }
}

} // namespace relingo::com
