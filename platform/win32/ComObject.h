// Reference counting and QueryInterface written once. A COM class implements its interfaces'
// own methods and names them in
//     void* Find(REFIID iid);   // usually: return Interfaces<IFoo, IBar>::Find(this, iid);
// and is made as ComObject<Class>, which adds IUnknown for all of them. Counts, when given,
// hears of each object made and gone (a server's DllCanUnloadNow answers from such counts).
#pragma once

#include <windows.h>

#include <unknwn.h>
#include <wrl/client.h>

#include <new>
#include <utility>

namespace relingo::win32 {

using Microsoft::WRL::ComPtr;

// The interfaces a class answers for, each found by its IID; IUnknown gives the first.
template <class First, class... Rest>
struct Interfaces {
    template <class Object>
    static void* Find(Object* object, REFIID iid) {
        if (iid == __uuidof(IUnknown)) {
            return static_cast<First*>(object);
        }
        void* found = Match<First>(object, iid);
        ((found = found != nullptr ? found : Match<Rest>(object, iid)), ...);
        return found;
    }

private:
    template <class Interface, class Object>
    static void* Match(Object* object, REFIID iid) {
        return iid == __uuidof(Interface) ? static_cast<Interface*>(object) : nullptr;
    }
};

// Objects that nobody counts: those a program makes for itself.
struct Uncounted {
    static void ObjectCreated() noexcept {}
    static void ObjectDestroyed() noexcept {}
};

// Counts chosen at run time: a view's objects that other programs hold (an accessible object, a
// drop target) count as the objects of the server that holds the view, and of nothing in a
// program of its own. A member of such an object, counted for as long as the object lives.
struct ObjectCounts {
    void (*created)() noexcept = nullptr;
    void (*destroyed)() noexcept = nullptr;
};

class CountedObject {
public:
    explicit CountedObject(ObjectCounts counts) : counts_(counts) {
        if (counts_.created != nullptr) {
            counts_.created();
        }
    }
    ~CountedObject() {
        if (counts_.destroyed != nullptr) {
            counts_.destroyed();
        }
    }
    CountedObject(const CountedObject&) = delete;
    CountedObject& operator=(const CountedObject&) = delete;

private:
    ObjectCounts counts_;
};

template <class Impl, class Counts = Uncounted>
class ComObject final : public Impl {
public:
    template <class... Args>
    explicit ComObject(Args&&... args) : Impl(std::forward<Args>(args)...) {
        Counts::ObjectCreated();
    }
    ~ComObject() override { Counts::ObjectDestroyed(); }

    // A new object, held by the pointer returned, its only reference; null when memory ran out
    // or it could not be made.
    template <class... Args>
    static ComPtr<ComObject> Make(Args&&... args) noexcept {
        try {
            return ComPtr<ComObject>(new ComObject(std::forward<Args>(args)...));
        } catch (...) {
            return nullptr;
        }
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = this->Find(iid);
        if (*out == nullptr) {
            return E_NOINTERFACE;
        }
        static_cast<IUnknown*>(*out)->AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override {
        return static_cast<ULONG>(::InterlockedIncrement(&references_));
    }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

private:
    // The pointer Make returns takes the first reference.
    LONG references_ = 0;
};

} // namespace relingo::win32
