// Measures between the scales of ScaleX and ScaleY, at a screen's dots per inch. The window's
// design is in twips (1440 to the inch); the screen's pixels depend on the dots per inch.
#pragma once

#include "platform/HostServices.h"

#include <cstdint>

namespace relingo {

// Converts a measure between scale codes; the container's scales (9 and 10) are twips. Fails
// with error 5 for a scale it does not know.
float ConvertScale(float value, int16_t fromScale, int16_t toScale, uint32_t dpi, bool vertical);

// Twips to whole pixels, rounded to the nearest pixel.
int32_t TwipsToPixels(int32_t twips, uint32_t dpi);

} // namespace relingo
