// Every error number has a text in both languages: a row of the table, or the general text with
// the number in decimal.
#include "filopdlg/DialogErrors.h"
#include "platform/Text.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace relingo;
    if (size < 8) {
        return 0;
    }
    int32_t number = 0;
    int32_t locale = 0;
    std::memcpy(&number, data, 4);
    std::memcpy(&locale, data + 4, 4);
    const std::u16string text = DialogErrorMessage(number, locale);
    const std::u16string general =
        (locale == 1041
             ? std::u16string(u"コモンダイアログAPIでエラーが起きました。(CommDlgExtendedError()=")
             : std::u16string(u"CommonDialog API error.(CommDlgExtendedError()=")) +
        ToDecimal(number) + u")";
    const bool inTable = (number >= 20476 && number <= 32765) || number == -32768;
    if (text.empty() || (!inTable && text != general)) {
        std::abort();
    }
    return 0;
}
