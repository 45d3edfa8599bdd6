// The property bag's text form: any text either loads or fails with error 321, and whatever
// loads saves to a text that loads back to the same bag.
#include "platform/Error.h"
#include "platform/PropertyBag.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace relingo;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    PropertyBag bag;
    try {
        bag = PropertyBag::Load(text);
    } catch (const Error& e) {
        if (e.Number() != errnum::kInvalidFileFormat) {
            std::abort();
        }
        return 0;
    }
    const std::string saved = bag.Save();
    const PropertyBag again = PropertyBag::Load(saved);
    if (again.Save() != saved || again.Size() != bag.Size()) {
        std::abort();
    }
    for (size_t i = 0; i < bag.Size(); ++i) {
        if (!SamePropertyValue(bag.Entries()[i].second, again.Entries()[i].second)) {
            std::abort();
        }
    }
    return 0;
}
