// The host's font objects (StdFont, IFont and IFontDisp) and the program's Font.
#pragma once

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include "platform/HostServices.h"

namespace relingo::com {

using Microsoft::WRL::ComPtr;

// A new StdFont with the font's fields. Throws relingo::Error 7 when none can be made.
ComPtr<IFontDisp> MakeOleFont(const Font& font);

// The fields of a font object: anything that answers IFont. Throws relingo::Error 13 for an
// object that is not a font.
Font ReadOleFont(IUnknown* object);

} // namespace relingo::com
