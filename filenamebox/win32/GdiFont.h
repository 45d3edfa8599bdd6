// Font objects of the host turned into GDI fonts and back.
#pragma once

#include <windows.h>

#include "platform/HostServices.h"

namespace relingo::win32 {

// The logical font that draws the font object at the given dots per inch.
LOGFONTW ToLogFont(const Font& font, UINT dpi);

// The font object a logical font made at the given dots per inch describes.
Font FromLogFont(const LOGFONTW& logFont, UINT dpi);

} // namespace relingo::win32
