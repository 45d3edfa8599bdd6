// The catalogue of the file name box's fault messages, in Japanese and English, and the one way
// the box shows a fault.
#pragma once

#include <cstdint>
#include <string>

namespace relingo {

class ControlHost;
class SystemServices;

// Message and caption codes of the catalogue.
namespace msg {
inline constexpr int16_t kCaptionCaution = 101;
inline constexpr int16_t kCaptionWarning = 102;
inline constexpr int16_t kCaptionErrorNumber = 201;
inline constexpr int16_t kCaptionError = 202;
inline constexpr int16_t kTooLong = 1001;
inline constexpr int16_t kIllegalCharacter = 1002;
inline constexpr int16_t kIllegalCharacterList = 1003;
inline constexpr int16_t kBackslashRun = 1004;
inline constexpr int16_t kColons = 1005;
inline constexpr int16_t kNoBackslashAfterDrive = 1006;
inline constexpr int16_t kSpaceComponent = 1007;
inline constexpr int16_t kSelectFolder = 1008;
inline constexpr int16_t kSelectFile = 1009;
inline constexpr int16_t kNotFound = 1010;
inline constexpr int16_t kInvalidName = 1011;
inline constexpr int16_t kUncWithDrive = 1012;
inline constexpr int16_t kDriveNotAlphabetical = 1013;
} // namespace msg

// The text of a message code in the language the locale asks for: Japanese for 1041, English for
// every other locale. A code without a row gives "未定義" or "Undefined.".
std::u16string MessageText(int16_t code, int32_t localeId);

// The message text in the language of the host's ambient locale, read anew at every call.
std::u16string MessageText(int16_t code, ControlHost& host);

// Shows a fault in a modal box captioned by the catalogue text of captionCode, unless
// messageShow is false. The pressed button is ignored.
void ShowFault(SystemServices& system, ControlHost& host, bool messageShow,
               const std::u16string& text, int16_t captionCode, int32_t style);

} // namespace relingo
