#include "platform/PropertyBag.h"

#include "platform/Error.h"
#include "platform/Text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>

namespace relingo {

namespace {

bool SameKey(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && AsciiUpper(a) == AsciiUpper(b);
}

std::optional<int64_t> AsNumber(const PropertyValue& value) {
    if (const auto* v = std::get_if<int16_t>(&value)) {
        return *v;
    }
    if (const auto* v = std::get_if<int32_t>(&value)) {
        return *v;
    }
    return std::nullopt;
}

int64_t NumberOrMismatch(const PropertyValue& value) {
    const auto number = AsNumber(value);
    if (!number) {
        throw Error(errnum::kTypeMismatch);
    }
    return *number;
}

template <typename T>
const T& KindOrMismatch(const PropertyValue& value) {
    const auto* v = std::get_if<T>(&value);
    if (v == nullptr) {
        throw Error(errnum::kTypeMismatch);
    }
    return *v;
}

// ---- writing the text form ----

std::string QuoteString(std::u16string_view text) {
    if (text.empty()) {
        return "\"\"";
    }
    std::string out;
    std::u16string run;
    auto flushRun = [&] {
        if (run.empty()) {
            return;
        }
        if (!out.empty()) {
            out += " & ";
        }
        out += '"';
        for (char c : ToUtf8(run)) {
            out += c;
            if (c == '"') {
                out += '"';
            }
        }
        out += '"';
        run.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        const bool low = c >= 0xDC00 && c <= 0xDFFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            run += c;
            run += text[++i];
        } else if (c < 0x20 || c == 0x7F || high || low) {
            flushRun();
            if (!out.empty()) {
                out += " & ";
            }
            out += "ChrW(" + std::to_string(static_cast<unsigned>(c)) + ")";
        } else {
            run += c;
        }
    }
    flushRun();
    return out;
}

std::string FormatSize(double size) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.4f", size);
    std::string text = buffer;
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    return text;
}

const char* BooleanText(bool value) {
    return value ? "True" : "False";
}

void AppendEntry(std::string& out, const std::u16string& key, const PropertyValue& value) {
    const std::string name = ToUtf8(key);
    if (const auto* font = std::get_if<FontPtr>(&value)) {
        const Font f = *font ? **font : Font{};
        out += "BeginProperty " + name + "\n";
        out += "   Name = " + QuoteString(f.name) + "\n";
        out += "   Size = " + FormatSize(f.size) + "\n";
        out += "   Weight = " + std::to_string(f.weight) + "\n";
        out += "   Charset = " + std::to_string(f.charset) + "\n";
        out += std::string("   Italic = ") + BooleanText(f.italic) + "\n";
        out += std::string("   Underline = ") + BooleanText(f.underline) + "\n";
        out += std::string("   Strikethrough = ") + BooleanText(f.strikethrough) + "\n";
        out += "EndProperty\n";
        return;
    }
    out += name + " = ";
    if (const auto* b = std::get_if<bool>(&value)) {
        out += BooleanText(*b);
    } else if (const auto* i = std::get_if<int16_t>(&value)) {
        out += std::to_string(*i) + "%";
    } else if (const auto* l = std::get_if<int32_t>(&value)) {
        out += std::to_string(*l) + "&";
    } else {
        out += QuoteString(std::get<std::u16string>(value));
    }
    out += "\n";
}

// ---- reading the text form ----

class LineParser {
public:
    LineParser(std::string_view text, int lineNumber) : text_(text), line_(lineNumber) {}

    [[noreturn]] void Fail(const std::string& what) const {
        throw Error(errnum::kInvalidFileFormat, u"Invalid file format: property bag line " +
                                                    ToDecimal(line_) + u": " + FromUtf8(what));
    }

    void SkipSpaces() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) {
            ++pos_;
        }
    }
    bool AtEnd() {
        SkipSpaces();
        return pos_ >= text_.size();
    }
    bool Accept(char c) {
        SkipSpaces();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    void Expect(char c, const char* what) {
        if (!Accept(c)) {
            Fail(std::string("expected ") + what);
        }
    }
    std::string Word() {
        SkipSpaces();
        const size_t start = pos_;
        while (pos_ < text_.size() &&
               (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_')) {
            ++pos_;
        }
        return std::string(text_.substr(start, pos_ - start));
    }
    bool PeekWord(std::string_view word) {
        SkipSpaces();
        return text_.substr(pos_, word.size()) == word;
    }

    PropertyValue Value() {
        SkipSpaces();
        if (pos_ >= text_.size()) {
            Fail("value missing");
        }
        const char c = text_[pos_];
        if (c == '"' || PeekWord("ChrW(")) {
            return String();
        }
        if (c == '-' || c == '&' || std::isdigit(static_cast<unsigned char>(c))) {
            return Number();
        }
        const std::string word = Word();
        if (word == "True") {
            return true;
        }
        if (word == "False") {
            return false;
        }
        Fail("unknown value '" + word + "'");
    }

    bool Boolean() {
        const PropertyValue v = Value();
        if (const auto* b = std::get_if<bool>(&v)) {
            return *b;
        }
        Fail("expected True or False");
    }

    std::u16string String() {
        std::u16string out;
        do {
            SkipSpaces();
            if (Accept('"')) {
                std::string bytes;
                for (;;) {
                    if (pos_ >= text_.size()) {
                        Fail("unterminated string");
                    }
                    const char ch = text_[pos_++];
                    if (ch == '"') {
                        if (pos_ < text_.size() && text_[pos_] == '"') {
                            ++pos_;
                        } else {
                            break;
                        }
                    }
                    bytes += ch;
                }
                out += FromUtf8(bytes);
            } else if (Word() == "ChrW") {
                Expect('(', "'('");
                const int64_t code = Digits(10, 5);
                if (code > 0xFFFF) {
                    Fail("character code out of range");
                }
                out += static_cast<char16_t>(code);
                Expect(')', "')'");
            } else {
                Fail("expected a string");
            }
        } while (Accept('&'));
        return out;
    }

    // A whole number in decimal or &H hex, optionally suffixed % (16-bit) or & (32-bit); a bare
    // number is only allowed inside a font.
    PropertyValue Number(bool suffixRequired = true) {
        SkipSpaces();
        bool negative = false;
        int64_t value = 0;
        if (text_.substr(pos_, 2) == "&H" || text_.substr(pos_, 2) == "&h") {
            pos_ += 2;
            value = Digits(16, 8);
            if (value > 0x7FFFFFFF) {
                value -= int64_t{1} << 32; // &H80000005& is a negative Long
            }
        } else {
            negative = Accept('-');
            value = Digits(10, 10);
            value = negative ? -value : value;
        }
        if (Accept('%')) {
            if (value < std::numeric_limits<int16_t>::min()) {
                Fail("number out of range");
            }
            if (value > std::numeric_limits<int16_t>::max()) {
                if (value > 0xFFFF) {
                    Fail("number out of range");
                }
                value -= 0x10000; // &HFFFF% is -1
            }
            return static_cast<int16_t>(value);
        }
        if (Accept('&') || !suffixRequired) {
            if (value < std::numeric_limits<int32_t>::min() ||
                value > std::numeric_limits<int32_t>::max()) {
                Fail("number out of range");
            }
            return static_cast<int32_t>(value);
        }
        Fail("number needs the suffix % or &");
    }

    double Decimal() {
        SkipSpaces();
        const size_t start = pos_;
        if (pos_ < text_.size() && text_[pos_] == '-') {
            ++pos_;
        }
        while (pos_ < text_.size() &&
               (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.')) {
            ++pos_;
        }
        const std::string digits(text_.substr(start, pos_ - start));
        char* end = nullptr;
        const double value = std::strtod(digits.c_str(), &end);
        if (digits.empty() || end != digits.c_str() + digits.size() || !std::isfinite(value)) {
            Fail("expected a number");
        }
        return value;
    }

private:
    int64_t Digits(int base, size_t maxDigits) {
        size_t count = 0;
        int64_t value = 0;
        while (pos_ < text_.size()) {
            const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text_[pos_])));
            int digit = -1;
            if (c >= '0' && c <= '9') {
                digit = c - '0';
            } else if (base == 16 && c >= 'a' && c <= 'f') {
                digit = c - 'a' + 10;
            }
            if (digit < 0) {
                break;
            }
            if (++count > maxDigits) {
                Fail("number out of range");
            }
            value = value * base + digit;
            ++pos_;
        }
        if (count == 0) {
            Fail("expected digits");
        }
        return value;
    }

    std::string_view text_;
    int line_;
    size_t pos_ = 0;
};

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool IsBlankOrComment(std::string_view line) {
    const size_t first = line.find_first_not_of(" \t");
    return first == std::string_view::npos || line[first] == '\'';
}

} // namespace

bool SamePropertyValue(const PropertyValue& a, const PropertyValue& b) {
    const auto na = AsNumber(a);
    const auto nb = AsNumber(b);
    if (na || nb) {
        return na && nb && *na == *nb;
    }
    if (a.index() != b.index()) {
        return false;
    }
    if (const auto* fa = std::get_if<FontPtr>(&a)) {
        const auto& fb = std::get<FontPtr>(b);
        if (!*fa || !fb) {
            return !*fa && !fb;
        }
        return **fa == *fb;
    }
    return a == b;
}

const PropertyValue* PropertyBag::Find(std::u16string_view key) const {
    for (const auto& [name, value] : entries_) {
        if (SameKey(name, key)) {
            return &value;
        }
    }
    return nullptr;
}

bool PropertyBag::Contains(std::u16string_view key) const {
    return Find(key) != nullptr;
}

std::optional<PropertyValue> PropertyBag::Lookup(std::u16string_view key, PropertyKind) const {
    const auto* value = Find(key);
    return value ? std::optional<PropertyValue>(*value) : std::nullopt;
}

void PropertyBag::Store(std::u16string_view key, const PropertyValue& value) {
    Remove(key);
    entries_.emplace_back(std::u16string(key), value);
}

void PropertyBag::Remove(std::u16string_view key) {
    std::erase_if(entries_, [&](const auto& entry) { return SameKey(entry.first, key); });
}

bool PropertyBag::ReadBoolean(std::u16string_view key, bool defaultValue) const {
    const auto value = Lookup(key, PropertyKind::Boolean);
    return value ? KindOrMismatch<bool>(*value) : defaultValue;
}

int16_t PropertyBag::ReadInteger(std::u16string_view key, int16_t defaultValue) const {
    const auto value = Lookup(key, PropertyKind::Integer);
    if (!value) {
        return defaultValue;
    }
    const int64_t number = NumberOrMismatch(*value);
    if (number < std::numeric_limits<int16_t>::min() ||
        number > std::numeric_limits<int16_t>::max()) {
        throw Error(errnum::kOverflow);
    }
    return static_cast<int16_t>(number);
}

int32_t PropertyBag::ReadLong(std::u16string_view key, int32_t defaultValue) const {
    const auto value = Lookup(key, PropertyKind::Long);
    return value ? static_cast<int32_t>(NumberOrMismatch(*value)) : defaultValue;
}

std::u16string PropertyBag::ReadString(std::u16string_view key,
                                       const std::u16string& defaultValue) const {
    const auto value = Lookup(key, PropertyKind::String);
    return value ? KindOrMismatch<std::u16string>(*value) : defaultValue;
}

FontPtr PropertyBag::ReadFont(std::u16string_view key, const FontPtr& defaultValue) const {
    const auto value = Lookup(key, PropertyKind::Font);
    return value ? KindOrMismatch<FontPtr>(*value) : defaultValue;
}

void PropertyBag::Write(std::u16string_view key, const PropertyValue& value,
                        const PropertyValue& defaultValue) {
    if (SamePropertyValue(value, defaultValue)) {
        Remove(key);
    } else {
        Store(key, value);
    }
}

std::string PropertyBag::Save() const {
    std::string out;
    for (const auto& [key, value] : entries_) {
        AppendEntry(out, key, value);
    }
    return out;
}

PropertyBag PropertyBag::Load(std::string_view text) {
    PropertyBag bag;
    const auto lines = SplitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (IsBlankOrComment(lines[i])) {
            continue;
        }
        LineParser line(lines[i], static_cast<int>(i + 1));
        const bool isFont = line.PeekWord("BeginProperty ");
        if (isFont) {
            line.Word();
        }
        const std::string name = line.Word();
        if (name.empty()) {
            line.Fail("expected a property name");
        }
        const std::u16string key = FromUtf8(name);
        if (bag.Contains(key)) {
            line.Fail("property '" + name + "' given twice");
        }
        if (!isFont) {
            line.Expect('=', "'='");
            PropertyValue value = line.Value();
            if (!line.AtEnd()) {
                line.Fail("unexpected text after the value");
            }
            bag.entries_.emplace_back(key, std::move(value));
            continue;
        }
        if (!line.AtEnd()) {
            line.Fail("unexpected text after the property name");
        }
        auto font = std::make_shared<Font>();
        for (++i;; ++i) {
            if (i >= lines.size()) {
                LineParser(lines.back(), static_cast<int>(lines.size()))
                    .Fail("EndProperty missing for '" + name + "'");
            }
            if (IsBlankOrComment(lines[i])) {
                continue;
            }
            LineParser field(lines[i], static_cast<int>(i + 1));
            const std::string fieldName = field.Word();
            if (fieldName == "EndProperty") {
                if (!field.AtEnd()) {
                    field.Fail("unexpected text after EndProperty");
                }
                break;
            }
            field.Expect('=', "'='");
            if (fieldName == "Name") {
                font->name = field.String();
            } else if (fieldName == "Size") {
                font->size = field.Decimal();
            } else if (fieldName == "Weight" || fieldName == "Charset") {
                const auto number = field.Number(false);
                const int64_t v = std::holds_alternative<int16_t>(number)
                                      ? std::get<int16_t>(number)
                                      : std::get<int32_t>(number);
                if (v < std::numeric_limits<int16_t>::min() ||
                    v > std::numeric_limits<int16_t>::max()) {
                    field.Fail("number out of range");
                }
                (fieldName == "Weight" ? font->weight : font->charset) = static_cast<int16_t>(v);
            } else if (fieldName == "Italic") {
                font->italic = field.Boolean();
            } else if (fieldName == "Underline") {
                font->underline = field.Boolean();
            } else if (fieldName == "Strikethrough") {
                font->strikethrough = field.Boolean();
            } else {
                field.Fail("unknown font field '" + fieldName + "'");
            }
            if (!field.AtEnd()) {
                field.Fail("unexpected text after the value");
            }
        }
        bag.entries_.emplace_back(key, std::move(font));
    }
    return bag;
}

} // namespace relingo
