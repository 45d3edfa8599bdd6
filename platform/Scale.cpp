#include "platform/Scale.h"

#include "platform/Error.h"

#include <cmath>

namespace relingo {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kPointsPerInch = 72.0;
constexpr double kMillimetersPerInch = 25.4;
constexpr double kCentimetersPerInch = 2.54;
// A character cell of the character scale: 120 twips wide, 240 twips high.
constexpr double kCharactersPerInchX = 12.0;
constexpr double kCharactersPerInchY = 6.0;
constexpr int16_t kCharacters = 4;

double UnitsPerInch(int16_t scaleCode, uint32_t dpi, bool vertical) {
    switch (scaleCode) {
    case scale::kTwips:
    case scale::kContainerPosition:
    case scale::kContainerSize:
        return kTwipsPerInch;
    case scale::kPoints:
        return kPointsPerInch;
    case scale::kPixels:
        return dpi;
    case kCharacters:
        return vertical ? kCharactersPerInchY : kCharactersPerInchX;
    case scale::kInches:
        return 1.0;
    case scale::kMillimeters:
        return kMillimetersPerInch;
    case scale::kCentimeters:
        return kCentimetersPerInch;
    default:
        throw Error(errnum::kInvalidProcedureCall);
    }
}

} // namespace

float ConvertScale(float value, int16_t fromScale, int16_t toScale, uint32_t dpi, bool vertical) {
    const double from = UnitsPerInch(fromScale, dpi, vertical);
    const double to = UnitsPerInch(toScale, dpi, vertical);
    return static_cast<float>(value * to / from);
}

int32_t TwipsToPixels(int32_t twips, uint32_t dpi) {
    return static_cast<int32_t>(std::lround(
        ConvertScale(static_cast<float>(twips), scale::kTwips, scale::kPixels, dpi, false)));
}

} // namespace relingo
