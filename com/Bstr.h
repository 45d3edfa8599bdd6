// Text across the COM boundary: BSTRs to and from the program's UTF-16 strings, and an owner
// that frees a BSTR when it goes.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <new>
#include <string>
#include <utility>

namespace relingo::com {

// A null BSTR is the empty text, as hosts use it.
inline std::u16string FromBstr(BSTR text) {
    return text == nullptr
               ? std::u16string()
               : std::u16string(reinterpret_cast<const char16_t*>(text), ::SysStringLen(text));
}

// Throws std::bad_alloc when the system has no memory for it.
inline BSTR ToBstr(const std::u16string& text) {
    BSTR made = ::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                    static_cast<UINT>(text.size()));
    if (made == nullptr) {
        throw std::bad_alloc();
    }
    return made;
}

class UniqueBstr {
public:
    UniqueBstr() = default;
    explicit UniqueBstr(BSTR text) noexcept : text_(text) {}
    explicit UniqueBstr(const std::u16string& text) : text_(ToBstr(text)) {}
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;
    UniqueBstr(UniqueBstr&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
    UniqueBstr& operator=(UniqueBstr&& other) noexcept {
        std::swap(text_, other.text_);
        return *this;
    }
    ~UniqueBstr() { ::SysFreeString(text_); }

    BSTR Get() const noexcept { return text_; }
    BSTR* Put() noexcept {
        ::SysFreeString(std::exchange(text_, nullptr));
        return &text_;
    }
    BSTR Release() noexcept { return std::exchange(text_, nullptr); }

private:
    BSTR text_ = nullptr;
};

// The VARIANT that owns what it holds.
class UniqueVariant {
public:
    UniqueVariant() noexcept { ::VariantInit(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    ~UniqueVariant() { ::VariantClear(&value_); }

    VARIANT* Get() noexcept { return &value_; }
    const VARIANT& operator*() const noexcept { return value_; }
    const VARIANT* operator->() const noexcept { return &value_; }

private:
    VARIANT value_;
};

} // namespace relingo::com
