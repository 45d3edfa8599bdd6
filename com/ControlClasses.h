// What the server tells hosts about each control class: its identifiers, its events, its
// status bits and its first size. The controls and the registration take them from here.
#pragma once

#include <windows.h>

#include <oleidl.h>

#include "com/Relingo_h.h"

namespace relingo::com {

struct ControlClass {
    CLSID clsid;
    IID dual;
    // The events' dispinterface; null for a control without events.
    const IID* events;
    DWORD miscStatus;
    SIZE defaultPixels;
    const wchar_t* progId; // version-independent
    const wchar_t* versionedProgId;
    const wchar_t* name;
    int toolboxBitmap; // resource id
};

inline constexpr DWORD kControlMiscStatus = OLEMISC_ACTIVATEWHENVISIBLE |
                                            OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT |
                                            OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;

const ControlClass& FileNameBoxClass();
const ControlClass& FilOpDlgClass();

} // namespace relingo::com
