#include "com/ControlClasses.h"

#include "com/resource.h"
#include "filopdlg/FilOpDlg.h"

namespace relingo::com {

const ControlClass& FileNameBoxClass() {
    static const ControlClass kClass = {CLSID_FileNameBox,
                                        IID_IFileNameBox,
                                        &DIID_DFileNameBoxEvents,
                                        kControlMiscStatus,
                                        {200, 21},
                                        L"Relingo.FileNameBox",
                                        L"Relingo.FileNameBox.1",
                                        L"FileNameBox Control",
                                        IDB_FILENAMEBOX_TOOLBOX};
    return kClass;
}

const ControlClass& FilOpDlgClass() {
    static const ControlClass kClass = {
        CLSID_FilOpDlg,
        IID_IFilOpDlg,
        nullptr,
        kControlMiscStatus | OLEMISC_INVISIBLEATRUNTIME,
        {static_cast<LONG>(kFilOpDlgIconPixels), static_cast<LONG>(kFilOpDlgIconPixels)},
        L"Relingo.FilOpDlg",
        L"Relingo.FilOpDlg.1",
        L"FilOpDlg Control",
        IDB_FILOPDLG_TOOLBOX};
    return kClass;
}

} // namespace relingo::com
