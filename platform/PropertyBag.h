// The host's store of a control's persisted design-time properties, and its text form.
//
// Text form (UTF-8, one entry a line; blank lines and lines starting with an apostrophe are
// ignored; keys are compared without regard to ASCII letter case):
//
//   Enabled = False                      Boolean: True or False
//   IMEMode = 3%                         16-bit integer: decimal or &H hex, suffix %
//   BackColor = &H80000005&              32-bit integer: decimal or &H hex, suffix &
//   Filter = "Programs|*.exe"            string: quoted, "" for a quotation mark, pieces
//   Note = "a" & ChrW(13) & "b"          joined by & with ChrW(n) for any UTF-16 code unit
//   BeginProperty Font                   font object, its fields in any order, each optional:
//      Name = "Tahoma"                   Name (string), Size (points, decimal), Weight and
//      Size = 9                          Charset (whole numbers), Italic, Underline and
//      Charset = 128                     Strikethrough (Boolean)
//   EndProperty
#pragma once

#include "platform/HostServices.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace relingo {

using PropertyValue = std::variant<bool, int16_t, int32_t, std::u16string, FontPtr>;

// The kind of value a read asks for. A bag whose values live elsewhere (a COM host's) hands it
// on, so that the host can convert what it stores, as it would for any caller.
enum class PropertyKind { Boolean, Integer, Long, String, Font };

// Values are equal when they are the same number (whatever its width), the same string, the
// same Boolean, or fonts with the same fields.
bool SamePropertyValue(const PropertyValue& a, const PropertyValue& b);

// The bag keeps its entries in memory. A host that keeps them elsewhere derives from it and
// reads and stores through Lookup, Store and Remove; the reads' conversions stay the same.
class PropertyBag {
public:
    PropertyBag() = default;
    PropertyBag(const PropertyBag&) = default;
    PropertyBag& operator=(const PropertyBag&) = default;
    PropertyBag(PropertyBag&&) = default;
    PropertyBag& operator=(PropertyBag&&) = default;
    virtual ~PropertyBag() = default;

    // Each read gives the default for an absent key. A stored number is converted to the width
    // asked for (error 6 when it does not fit); a stored value of another kind fails with
    // error 13.
    bool ReadBoolean(std::u16string_view key, bool defaultValue) const;
    int16_t ReadInteger(std::u16string_view key, int16_t defaultValue) const;
    int32_t ReadLong(std::u16string_view key, int32_t defaultValue) const;
    std::u16string ReadString(std::u16string_view key, const std::u16string& defaultValue) const;
    FontPtr ReadFont(std::u16string_view key, const FontPtr& defaultValue) const;

    // Stores the value under the key, unless it equals the default: then the key is left out.
    void Write(std::u16string_view key, const PropertyValue& value,
               const PropertyValue& defaultValue);

    bool Contains(std::u16string_view key) const;
    size_t Size() const { return entries_.size(); }
    const std::vector<std::pair<std::u16string, PropertyValue>>& Entries() const {
        return entries_;
    }

    // The text form; Load(Save()) gives an equal bag.
    std::string Save() const;
    // Fails with error 321 (Invalid file format) naming the line of the first fault; a failed
    // load returns no bag at all.
    static PropertyBag Load(std::string_view text);

protected:
    // The value stored under the key, or nothing when the key is absent.
    virtual std::optional<PropertyValue> Lookup(std::u16string_view key, PropertyKind wanted) const;
    // Stores a value that differs from its default.
    virtual void Store(std::u16string_view key, const PropertyValue& value);
    // A value equal to its default is not kept: an earlier one under the key goes.
    virtual void Remove(std::u16string_view key);

private:
    const PropertyValue* Find(std::u16string_view key) const;

    std::vector<std::pair<std::u16string, PropertyValue>> entries_;
};

} // namespace relingo
