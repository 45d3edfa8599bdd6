#include "com/HostPropertyBag.h"

#include "com/Bstr.h"
#include "com/ComErrors.h"
#include "com/OleFont.h"
#include "platform/Error.h"

#include <string>

namespace relingo::com {

namespace {

VARTYPE VariantTypeOf(PropertyKind kind) {
    switch (kind) {
    case PropertyKind::Boolean:
        return VT_BOOL;
    case PropertyKind::Integer:
        return VT_I2;
    case PropertyKind::Long:
        return VT_I4;
    case PropertyKind::String:
        return VT_BSTR;
    case PropertyKind::Font:
        return VT_DISPATCH;
    }
    return VT_EMPTY;
}

// A host that stores another kind than asked for and did not convert it: converted here, as the
// host should have.
void ConvertInPlace(VARIANT& value, VARTYPE wanted) {
    if (value.vt == wanted || wanted == VT_DISPATCH) {
        return;
    }
    const HRESULT hr = ::VariantChangeType(&value, &value, 0, wanted);
    if (FAILED(hr)) {
        throw ErrorOfResult(hr);
    }
}

PropertyValue FromVariant(const VARIANT& value, PropertyKind kind) {
    switch (kind) {
    case PropertyKind::Boolean:
        return value.boolVal != VARIANT_FALSE;
    case PropertyKind::Integer:
        return static_cast<int16_t>(value.iVal);
    case PropertyKind::Long:
        return static_cast<int32_t>(value.lVal);
    case PropertyKind::String:
        return FromBstr(value.bstrVal);
    case PropertyKind::Font:
        if (value.vt != VT_DISPATCH && value.vt != VT_UNKNOWN) {
            throw Error(errnum::kTypeMismatch);
        }
        return std::make_shared<Font>(ReadOleFont(value.punkVal));
    }
    throw Error(errnum::kTypeMismatch);
}

} // namespace

std::optional<PropertyValue> HostPropertyBag::Lookup(std::u16string_view key,
                                                     PropertyKind wanted) const {
    const std::wstring name(key.begin(), key.end());
    UniqueVariant value;
    value.Get()->vt = VariantTypeOf(wanted);
    const HRESULT hr = bag_.Read(name.c_str(), value.Get(), log_);
    if (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_OVERFLOW) {
        throw ErrorOfResult(hr);
    }
    // Hosts report an absent key as E_INVALIDARG, and some with other failures: the control's
    // default then stands, as for any absent key.
    if (FAILED(hr)) {
        return std::nullopt;
    }
    ConvertInPlace(*value.Get(), VariantTypeOf(wanted));
    return FromVariant(*value, wanted);
}

void HostPropertyBag::Store(std::u16string_view key, const PropertyValue& value) {
    const std::wstring name(key.begin(), key.end());
    UniqueVariant stored;
    VARIANT& v = *stored.Get();
    if (const auto* b = std::get_if<bool>(&value)) {
        v.vt = VT_BOOL;
        v.boolVal = *b ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (const auto* i = std::get_if<int16_t>(&value)) {
        v.vt = VT_I2;
        v.iVal = *i;
    } else if (const auto* l = std::get_if<int32_t>(&value)) {
        v.vt = VT_I4;
        v.lVal = *l;
    } else if (const auto* s = std::get_if<std::u16string>(&value)) {
        v.vt = VT_BSTR;
        v.bstrVal = ToBstr(*s);
    } else {
        const FontPtr& font = std::get<FontPtr>(value);
        v.vt = VT_DISPATCH;
        v.pdispVal = MakeOleFont(font ? *font : Font{}).Detach();
    }
    const HRESULT hr = bag_.Write(name.c_str(), &v);
    if (FAILED(hr)) {
        throw ErrorOfResult(hr);
    }
}

} // namespace relingo::com
