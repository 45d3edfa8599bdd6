// The descriptions of the file dialog control's errors, in Japanese and English.
#pragma once

#include <cstdint>
#include <string>

namespace relingo {

class ControlHost;

// The description of a dialog error number: the Japanese text for locale 1041, the English text
// for every other locale. A number without a text of its own (every extended error code of the
// dialogs among them) gives the general text with the number in decimal.
std::u16string DialogErrorMessage(int32_t number, int32_t localeId);

// The same in the language of the host's ambient locale, read anew at every call.
std::u16string DialogErrorMessage(int32_t number, ControlHost& host);

} // namespace relingo
