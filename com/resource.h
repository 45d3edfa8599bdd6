// Resource identifiers of the COM server. The type library is TYPELIB 1, where LoadTypeLib
// looks for it in a DLL; the registration's ToolboxBitmap32 entries name the bitmaps.
#pragma once

#define IDB_FILENAMEBOX_TOOLBOX 1
#define IDB_FILOPDLG_TOOLBOX 2
#define IDI_FILOPDLG 101
