// One outgoing interface of a control: the hosts' sinks connected to it, and their enumeration.
// The point lives inside its control and shares its reference count: holding the point keeps
// the control.
#pragma once

#include <windows.h>

#include <ocidl.h>
#include <wrl/client.h>

#include <functional>
#include <vector>

namespace relingo::com {

using Microsoft::WRL::ComPtr;

// The connection points' own failures (olectl.h in the Windows SDK; MinGW's lacks them).
inline constexpr HRESULT kConnectNoConnection = static_cast<HRESULT>(0x80040200);
inline constexpr HRESULT kConnectCannotConnect = static_cast<HRESULT>(0x80040202);

class ConnectionPoint final : public IConnectionPoint {
public:
    // owner: the control, as its container of connection points.
    ConnectionPoint(IConnectionPointContainer& owner, REFIID iid) : owner_(owner), iid_(iid) {}
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;

    REFIID Iid() const { return iid_; }
    // Calls each connected sink, in the order they were connected, with its outgoing interface.
    // A sink that disconnects meanwhile is not called again.
    template <class Sink>
    void ForEach(const std::function<void(Sink&)>& call) const {
        const auto sinks = sinks_;
        for (const auto& entry : sinks) {
            if (Connected(entry.cookie)) {
                call(*static_cast<Sink*>(entry.sink.Get()));
            }
        }
    }

    // IUnknown, sharing the control's count.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return owner_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return owner_.Release(); }

    // IConnectionPoint
    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

private:
    bool Connected(DWORD cookie) const;

    struct Connection {
        DWORD cookie;
        ComPtr<IUnknown> sink; // the outgoing interface itself
    };

    IConnectionPointContainer& owner_;
    IID iid_;
    std::vector<Connection> sinks_;
    DWORD nextCookie_ = 1;
};

// The enumerator of a control's connection points, over a copy of the list taken when made.
ComPtr<IEnumConnectionPoints>
EnumerateConnectionPoints(const std::vector<IConnectionPoint*>& points);

} // namespace relingo::com
