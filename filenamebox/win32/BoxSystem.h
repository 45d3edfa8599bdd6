// What the name box's windows take from the system beyond plain window calls, gathered so that
// the program, a COM server and the tests can each give their own: the dots per inch, the
// message filter and integrity levels that decide how files are dropped onto it, the counts its
// objects for other programs are kept in, and the call that moves a window into a container.
#pragma once

#include <windows.h>

#include "platform/win32/ComObject.h"
#include "platform/win32/Integrity.h"
#include "platform/win32/RunTimeFunctions.h"

namespace relingo::win32 {

struct BoxSystem {
    const DpiFunctions* dpi = &DpiFunctions::OfSystem();
    const MessageFilterFunctions* messageFilter = &MessageFilterFunctions::Get();
    const IntegrityQueries* integrity = &IntegrityQueries::System();
    // The accessible object and the drop target: a server counts them as its own objects.
    ObjectCounts counts;
    // Fails on Windows 10 1703 and later between windows of different DPI awareness, as in a
    // host that mixes them (Office does); Wine never makes it fail, so tests give their own.
    HWND(WINAPI* setParent)(HWND child, HWND parent) = &::SetParent;
};

} // namespace relingo::win32
