// A COM host's property bag (IPropertyBag) as the controls' PropertyBag: each read asks the host
// for the key in the kind the control wants, so the host converts what it stores as it would for
// any caller; each write hands the host a VARIANT.
#pragma once

#include <windows.h>

#include <ocidl.h>

#include "platform/PropertyBag.h"

namespace relingo::com {

class HostPropertyBag final : public PropertyBag {
public:
    // Both must outlive the bag; log may be null.
    HostPropertyBag(IPropertyBag& bag, IErrorLog* log) : bag_(bag), log_(log) {}

protected:
    std::optional<PropertyValue> Lookup(std::u16string_view key,
                                        PropertyKind wanted) const override;
    void Store(std::u16string_view key, const PropertyValue& value) override;
    // A host's bag starts empty at every save: leaving a value out is all there is to do.
    void Remove(std::u16string_view) override {}

private:
    IPropertyBag& bag_;
    IErrorLog* log_;
};

} // namespace relingo::com
