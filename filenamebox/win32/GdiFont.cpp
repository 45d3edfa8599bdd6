#include "filenamebox/win32/GdiFont.h"

#include "platform/win32/WideText.h"

#include <algorithm>
#include <cmath>

namespace relingo::win32 {

namespace {

constexpr double kPointsPerInch = 72.0;

} // namespace

LOGFONTW ToLogFont(const Font& font, UINT dpi) {
    LOGFONTW logFont = {};
    // A negative height asks for the character height, which is what a point size measures.
    logFont.lfHeight = -static_cast<LONG>(std::lround(font.size * dpi / kPointsPerInch));
    logFont.lfWeight = font.weight;
    logFont.lfItalic = font.italic ? TRUE : FALSE;
    logFont.lfUnderline = font.underline ? TRUE : FALSE;
    logFont.lfStrikeOut = font.strikethrough ? TRUE : FALSE;
    logFont.lfCharSet = static_cast<BYTE>(font.charset);
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = DEFAULT_QUALITY;
    logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::wstring face = ToWide(font.name);
    const size_t length = std::min(face.size(), static_cast<size_t>(LF_FACESIZE - 1));
    std::copy_n(face.begin(), length, logFont.lfFaceName);
    logFont.lfFaceName[length] = L'\0';
    return logFont;
}

Font FromLogFont(const LOGFONTW& logFont, UINT dpi) {
    Font font;
    font.name = FromWide(logFont.lfFaceName);
    font.size =
        std::abs(logFont.lfHeight) * kPointsPerInch / (dpi == 0 ? USER_DEFAULT_SCREEN_DPI : dpi);
    font.weight = static_cast<int16_t>(logFont.lfWeight == 0 ? FW_NORMAL : logFont.lfWeight);
    font.charset = logFont.lfCharSet;
    font.italic = logFont.lfItalic != 0;
    font.underline = logFont.lfUnderline != 0;
    font.strikethrough = logFont.lfStrikeOut != 0;
    return font;
}

} // namespace relingo::win32
