#include "com/ConnectionPoint.h"

#include "com/ComObject.h"
#include "com/Enumerator.h"

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

} // namespace

bool ConnectionPoint::Connected(DWORD cookie) const {
    return std::any_of(sinks_.begin(), sinks_.end(),
                       [cookie](const Connection& entry) { return entry.cookie == cookie; });
}

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
