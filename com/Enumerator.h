// The standard enumerators of COM (IEnumConnections, IEnumFORMATETC, ...) written once. An Items
// type names the interface, the item it hands out, how it keeps one (Held) and how it hands a
// kept one out (Out, which adds whatever reference the caller then owns).
#pragma once

#include <windows.h>

#include "com/ComObject.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace relingo::com {

// An enumerator over a list copied when it was made.
template <class Items>
class Enumerator : public Items::Interface {
public:
    using Held = typename Items::Held;
    using Item = typename Items::Item;

    Enumerator(std::vector<Held> items, size_t position)
        : items_(std::move(items)), position_(position) {}
    virtual ~Enumerator() = default;

    void* Find(REFIID iid) { return Interfaces<typename Items::Interface>::Find(this, iid); }

    STDMETHODIMP Next(ULONG count, Item* out, ULONG* fetched) override {
        if (out == nullptr || (count != 1 && fetched == nullptr)) {
            return E_POINTER;
        }
        ULONG given = 0;
        while (given < count && position_ < items_.size()) {
            out[given++] = Items::Out(items_[position_++]);
        }
        if (fetched != nullptr) {
            *fetched = given;
        }
        return given == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        const size_t left = items_.size() - position_;
        position_ += std::min<size_t>(count, left);
        return count <= left ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(typename Items::Interface** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        try {
            auto copy = ComObject<Enumerator>::Make(items_, position_);
            if (!copy) {
                return E_OUTOFMEMORY;
            }
            *out = copy.Detach();
            return S_OK;
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

private:
    std::vector<Held> items_;
    size_t position_;
};

} // namespace relingo::com
