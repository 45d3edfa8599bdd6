// IDispatch of a dual interface, answered through its type information (TypeInfoDispatch).
#pragma once

#include "com/TypeLibrary.h"

#include <functional>

namespace relingo::com {

template <class Dual>
class DispatchImpl : public Dual {
protected:
    explicit DispatchImpl(std::function<int32_t()> localeId)
        : dispatch_(__uuidof(Dual), std::move(localeId)) {}

    TypeInfoDispatch& Dispatch() { return dispatch_; }

public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        return dispatch_.GetTypeInfoCount(count);
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        return dispatch_.GetTypeInfo(index, info);
    }
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                               DISPID* ids) override {
        return dispatch_.GetIDsOfNames(riid, names, count, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override {
        return dispatch_.Invoke(static_cast<Dual*>(this), id, riid, flags, params, result,
                                exception, argumentError);
    }

private:
    TypeInfoDispatch dispatch_;
};

} // namespace relingo::com
