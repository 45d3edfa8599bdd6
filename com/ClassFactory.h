// The class object of a control: makes its instances, and holds the server while a host locks it.
#pragma once

#include "com/ComObject.h"

#include <new>

namespace relingo::com {

template <class Control>
class ClassFactory : public IClassFactory {
public:
    virtual ~ClassFactory() = default;

    void* Find(REFIID iid) { return Interfaces<IClassFactory>::Find(this, iid); }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        const auto control = ComObject<Control>::Make();
        return control ? control->QueryInterface(iid, out) : E_OUTOFMEMORY;
    }

    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) {
            ServerCounts::Lock();
        } else {
            ServerCounts::Unlock();
        }
        return S_OK;
    }
};

} // namespace relingo::com
