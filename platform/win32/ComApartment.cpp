#include "platform/win32/ComApartment.h"

#include "platform/Error.h"

#include <string>

namespace relingo::win32 {

void ComApartment::Require(const char16_t* purpose) {
    if (!Enter()) {
        throw Error(errnum::kCannotCreateObject,
                    std::u16string(purpose) + u" needs COM, which Windows could not start.");
    }
}

} // namespace relingo::win32
