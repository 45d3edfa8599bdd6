#include "com/ConnectionPoint.h"

#include "com/ComObject.h"

#include <algorithm>

namespace relingo::com {

namespace {

// What an enumerator of connections hands out, and how it keeps it.
struct ConnectionItems {
    using Interface = IEnumConnections;
    using Item = CONNECTDATA;
    struct Held {
        ComPtr<IUnknown> sink;
        DWORD cookie;
    };
    static Item Out(const Held& held) {
        held.sink->AddRef();
        return {held.sink.Get(), held.cookie};
    }
};

struct PointItems {
    using Interface = IEnumConnectionPoints;
    using Item = IConnectionPoint*;
    struct Held {
        ComPtr<IConnectionPoint> point;
    };
    static Item Out(const Held& held) {
        held.point->AddRef();
        return held.point.Get();
    }
};

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

} // namespace

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID iid, void** out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
        *out = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (iid == nullptr) {
        return E_POINTER;
    }
    *iid = iid_;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (container == nullptr) {
        return E_POINTER;
    }
    owner_.AddRef();
    *container = &owner_;
    return S_OK;
}

// A sink of a dispatch interface may answer only IDispatch, as generic sinks do.
STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (cookie == nullptr) {
        return E_POINTER;
    }
    *cookie = 0;
    if (sink == nullptr) {
        return E_POINTER;
    }
    ComPtr<IUnknown> outgoing;
    if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(outgoing.GetAddressOf()))) &&
        (iid_ == IID_IPropertyNotifySink ||
         FAILED(sink->QueryInterface(IID_IDispatch,
                                     reinterpret_cast<void**>(outgoing.GetAddressOf()))))) {
        return kConnectCannotConnect;
    }
    try {
        sinks_.push_back({nextCookie_, outgoing});
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    *cookie = nextCookie_++;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
    const auto found = std::find_if(sinks_.begin(), sinks_.end(),
                                    [cookie](const auto& entry) { return entry.cookie == cookie; });
    if (found == sinks_.end()) {
        return kConnectNoConnection;
    }
    sinks_.erase(found);
    return S_OK;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** connections) {
    if (connections == nullptr) {
        return E_POINTER;
    }
    *connections = nullptr;
    try {
        std::vector<ConnectionItems::Held> items;
        for (const auto& entry : sinks_) {
            items.push_back({entry.sink, entry.cookie});
        }
        auto made = ComObject<Enumerator<ConnectionItems>>::Make(std::move(items), size_t{0});
        if (!made) {
            return E_OUTOFMEMORY;
        }
        *connections = made.Detach();
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

ComPtr<IEnumConnectionPoints>
EnumerateConnectionPoints(const std::vector<IConnectionPoint*>& points) {
    std::vector<PointItems::Held> items;
    for (IConnectionPoint* point : points) {
        items.push_back({point});
    }
    return ComObject<Enumerator<PointItems>>::Make(std::move(items), size_t{0});
}

} // namespace relingo::com
