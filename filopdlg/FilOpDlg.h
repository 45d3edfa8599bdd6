// The file dialog control: its properties configure the Windows open and save dialogs and
// receive the user's choice.
#pragma once

#include "platform/CommonDialogs.h"

#include <cstdint>
#include <string>

namespace relingo {

class ControlHost;
class PropertyBag;
class SystemServices;

inline constexpr char16_t kDefaultDialogFilter[] = u"All Files(*.*)|*.*";
inline constexpr int32_t kDefaultDialogFlags = static_cast<int32_t>(ofn::kFileMustExist);
inline constexpr int32_t kDefaultMaxFileSize = 260;
// The side of the control's icon, which is also the control's size.
inline constexpr float kFilOpDlgIconPixels = 32;

// Errors are thrown as relingo::Error: 32755 for a cancel when CancelError is True, the extended
// error code of the dialogs for a failed dialog, 5 or 6 for buffer sizes that cannot be made.
class FilOpDlg {
public:
    // The services must outlive the control.
    FilOpDlg(SystemServices& system, CommonDialogs& dialogs, ControlHost& host);

    // The Open and Save As dialogs; the choice lands in FileName and FileTitle.
    void ShowOpen();
    void ShowSave();

    bool CancelError() const { return cancelError_; }
    void SetCancelError(bool New_CancelError);
    // True after a cancelled dialog, False after any other run.
    bool CancelSelected() const { return cancelSelected_; }
    void SetCancelSelected(bool New_CancelSelected);
    std::u16string DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(std::u16string New_DefaultExt);
    std::u16string DialogTitle() const { return dialogTitle_; }
    void SetDialogTitle(std::u16string New_DialogTitle);
    // With several names chosen: the folder and the names, separated by NUL characters.
    std::u16string FileName() const { return fileName_; }
    void SetFileName(std::u16string New_FileName);
    std::u16string FileTitle() const { return fileTitle_; }
    // Pairs of description and pattern, every part separated by "|".
    std::u16string Filter() const { return filter_; }
    void SetFilter(std::u16string New_Filter);
    int32_t FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int32_t New_FilterIndex);
    int32_t Flags() const { return flags_; }
    void SetFlags(int32_t New_Flags);
    int32_t hDC() const { return 0; }
    // The owner window of the dialogs in its 32-bit form (WindowHandleToLong), 0 for none;
    // neither saved nor restored.
    int32_t hParentwnd() const { return hParentwnd_; }
    void SethParentwnd(int32_t New_hParentWnd);
    std::u16string InitDir() const { return initDir_; }
    void SetInitDir(std::u16string New_InitDir);
    // The name and title buffers hold 2 * MaxFileSize + 1 bytes.
    int32_t MaxFileSize() const { return maxFileSize_; }
    void SetMaxFileSize(int32_t New_MaxFileSize);

    // The Open dialog with an empty name; returns the chosen name ("" after a cancel) and
    // changes neither FileName nor FileTitle.
    std::u16string GetFileName();

    // Host events.
    void InitProperties();
    void ReadProperties(const PropertyBag& PropBag);
    void WriteProperties(PropertyBag& PropBag) const;
    void Resize();

private:
    enum class DialogMode { Open, Save, GetName };

    std::u16string RunDialog(DialogMode mode);
    // Turns a run that ended without a choice into a cancel or an error.
    void FinishRun();

    SystemServices& system_;
    CommonDialogs& dialogs_;
    ControlHost& host_;

    bool cancelError_ = false;
    bool cancelSelected_ = false;
    std::u16string defaultExt_;
    std::u16string dialogTitle_;
    std::u16string fileName_;
    std::u16string fileTitle_;
    std::u16string filter_ = kDefaultDialogFilter;
    int32_t filterIndex_ = 0;
    int32_t flags_ = kDefaultDialogFlags;
    int32_t hParentwnd_ = 0;
    std::u16string initDir_;
    int32_t maxFileSize_ = kDefaultMaxFileSize;
    // Set by RunDialog when the dialog call returned without a choice.
    bool runFailed_ = false;
};

} // namespace relingo
