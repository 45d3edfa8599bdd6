// The thread's COM apartment, entered only when something first needs it (the file dialogs,
// the desktop lookup, file-name completion, OLE drag and drop) rather than at start, and left
// with the object.
#pragma once

#include <windows.h>

#include <objbase.h>

#include "platform/win32/RunTimeFunctions.h"

namespace relingo::win32 {

class ComApartment {
public:
    using Initializer = HRESULT(WINAPI*)(LPVOID, DWORD);

    // initialize: a stand-in for CoInitializeEx in tests; null for the system's own.
    explicit ComApartment(Initializer initialize = nullptr) : initialize_(initialize) {}
    ~ComApartment() {
        if (oleEntered_) {
            ComFunctions::Get().oleUninitialize();
        }
        if (entered_) {
            ComFunctions::Get().uninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // Enters a single-threaded apartment the first time; whether the thread has one. A thread
    // already in an apartment of either kind has COM, and a failed try is tried again next time.
    bool Enter() {
        if (entered_) {
            return true;
        }
        const Initializer initialize =
            initialize_ != nullptr ? initialize_ : ComFunctions::Get().initialize;
        if (initialize == nullptr || ComFunctions::Get().uninitialize == nullptr) {
            return false;
        }
        const HRESULT result = initialize(nullptr, COINIT_APARTMENTTHREADED);
        entered_ = SUCCEEDED(result);
        return entered_ || result == RPC_E_CHANGED_MODE;
    }

    // As Enter, and fails with error 429 when COM cannot be started, naming what needed it.
    void Require(const char16_t* purpose);

    // Enters OLE too, which drag and drop needs, the first time; whether the thread has it. OLE
    // lives only in a single-threaded apartment: a thread of the multithreaded one has none.
    bool EnterOle() {
        if (!oleEntered_) {
            const ComFunctions& com = ComFunctions::Get();
            oleEntered_ = com.oleInitialize != nullptr && com.oleUninitialize != nullptr &&
                          SUCCEEDED(com.oleInitialize(nullptr));
        }
        return oleEntered_;
    }

private:
    Initializer initialize_;
    bool entered_ = false;
    bool oleEntered_ = false;
};

} // namespace relingo::win32
