#include "filopdlg/FilOpDlg.h"

#include "platform/HostServices.h"
#include "platform/PropertyBag.h"

#include <utility>

namespace relingo {

namespace {

constexpr char16_t kCancelSelectedKey[] = u"CancelSelected";
constexpr char16_t kCancelErrorKey[] = u"CancelError";
constexpr char16_t kDefaultExtKey[] = u"DefaultExt";
constexpr char16_t kDialogTitleKey[] = u"DialogTitle";
constexpr char16_t kFileNameKey[] = u"FileName";
constexpr char16_t kFilterKey[] = u"Filter";
constexpr char16_t kFilterIndexKey[] = u"FilterIndex";
constexpr char16_t kFlagsKey[] = u"Flags";
constexpr char16_t kInitDirKey[] = u"InitDir";
constexpr char16_t kMaxFileSizeKey[] = u"MaxFileSize";
// The owner window is reported under the name hosts know it by.
constexpr char16_t kParentWindowName[] = u"hWnd";

} // namespace

FilOpDlg::FilOpDlg(SystemServices& system, CommonDialogs& dialogs, ControlHost& host)
    : system_(system), dialogs_(dialogs), host_(host) {}

void FilOpDlg::SetCancelError(bool New_CancelError) {
    cancelError_ = New_CancelError;
    host_.PropertyChanged(kCancelErrorKey);
}

void FilOpDlg::SetCancelSelected(bool New_CancelSelected) {
    cancelSelected_ = New_CancelSelected;
    host_.PropertyChanged(kCancelSelectedKey);
}

void FilOpDlg::SetDefaultExt(std::u16string New_DefaultExt) {
    defaultExt_ = std::move(New_DefaultExt);
    host_.PropertyChanged(kDefaultExtKey);
}

void FilOpDlg::SetDialogTitle(std::u16string New_DialogTitle) {
    dialogTitle_ = std::move(New_DialogTitle);
    host_.PropertyChanged(kDialogTitleKey);
}

void FilOpDlg::SetFileName(std::u16string New_FileName) {
    fileName_ = std::move(New_FileName);
    host_.PropertyChanged(kFileNameKey);
}

void FilOpDlg::SetFilter(std::u16string New_Filter) {
    filter_ = std::move(New_Filter);
    host_.PropertyChanged(kFilterKey);
}

void FilOpDlg::SetFilterIndex(int32_t New_FilterIndex) {
    filterIndex_ = New_FilterIndex;
    host_.PropertyChanged(kFilterIndexKey);
}

void FilOpDlg::SetFlags(int32_t New_Flags) {
    flags_ = New_Flags;
    host_.PropertyChanged(kFlagsKey);
}

void FilOpDlg::SethParentwnd(int32_t New_hParentWnd) {
    hParentwnd_ = New_hParentWnd;
    host_.PropertyChanged(kParentWindowName);
}

void FilOpDlg::SetInitDir(std::u16string New_InitDir) {
    initDir_ = std::move(New_InitDir);
    host_.PropertyChanged(kInitDirKey);
}

void FilOpDlg::SetMaxFileSize(int32_t New_MaxFileSize) {
    maxFileSize_ = New_MaxFileSize;
    host_.PropertyChanged(kMaxFileSizeKey);
}

void FilOpDlg::InitProperties() {
    cancelSelected_ = false;
    cancelError_ = false;
    defaultExt_.clear();
    dialogTitle_.clear();
    fileName_.clear();
    filter_ = kDefaultDialogFilter;
    filterIndex_ = 0;
    flags_ = kDefaultDialogFlags;
    initDir_.clear();
    maxFileSize_ = kDefaultMaxFileSize;
}

// Each value is stored as soon as it is read: a read that fails leaves the properties after it
// as they were.
void FilOpDlg::ReadProperties(const PropertyBag& PropBag) {
    cancelSelected_ = PropBag.ReadBoolean(kCancelSelectedKey, false);
    cancelError_ = PropBag.ReadBoolean(kCancelErrorKey, false);
    defaultExt_ = PropBag.ReadString(kDefaultExtKey, {});
    dialogTitle_ = PropBag.ReadString(kDialogTitleKey, {});
    fileName_ = PropBag.ReadString(kFileNameKey, {});
    filter_ = PropBag.ReadString(kFilterKey, kDefaultDialogFilter);
    filterIndex_ = PropBag.ReadLong(kFilterIndexKey, 0);
    flags_ = PropBag.ReadLong(kFlagsKey, kDefaultDialogFlags);
    initDir_ = PropBag.ReadString(kInitDirKey, {});
    maxFileSize_ = PropBag.ReadLong(kMaxFileSizeKey, kDefaultMaxFileSize);
}

void FilOpDlg::WriteProperties(PropertyBag& PropBag) const {
    PropBag.Write(kCancelSelectedKey, cancelSelected_, false);
    PropBag.Write(kCancelErrorKey, cancelError_, false);
    PropBag.Write(kDefaultExtKey, defaultExt_, std::u16string());
    PropBag.Write(kDialogTitleKey, dialogTitle_, std::u16string());
    PropBag.Write(kFileNameKey, fileName_, std::u16string());
    PropBag.Write(kFilterKey, filter_, std::u16string(kDefaultDialogFilter));
    PropBag.Write(kFilterIndexKey, filterIndex_, int32_t{0});
    PropBag.Write(kFlagsKey, flags_, kDefaultDialogFlags);
    PropBag.Write(kInitDirKey, initDir_, std::u16string());
    PropBag.Write(kMaxFileSizeKey, maxFileSize_, kDefaultMaxFileSize);
}

// The control shows nothing but its icon, so whatever size the host asks for, it takes the
// icon's. A host that reports every size change again gets no second change to report.
void FilOpDlg::Resize() {
    const int16_t ownScale = host_.ScaleMode();
    const float width = host_.ScaleX(kFilOpDlgIconPixels, scale::kPixels, ownScale);
    const float height = host_.ScaleY(kFilOpDlgIconPixels, scale::kPixels, ownScale);
    if (host_.ControlWidth() != width || host_.ControlHeight() != height) {
        host_.SetControlSize(width, height);
    }
}

} // namespace relingo
