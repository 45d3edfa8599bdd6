#include "com/FilOpDlgControl.h"

#include "com/Bstr.h"
#include "com/ComObject.h"
#include "com/resource.h"
#include "platform/win32/Handles.h"

#include <olectl.h>

namespace relingo::com {

namespace {

constexpr int kIconPixels = static_cast<int>(kFilOpDlgIconPixels);

// Draws the icon through its mask and colour bitmaps, as DrawIconEx does on a screen: a
// metafile, which keeps block transfers but not always DrawIconEx, then holds it too.
void DrawIconBitmaps(HDC dc, HICON icon, POINT at, int pixels) {
    ICONINFO info = {};
    if (!::GetIconInfo(icon, &info)) {
        return;
    }
    const win32::UniqueGdiObject mask(info.hbmMask);
    const win32::UniqueGdiObject color(info.hbmColor);
    BITMAP shape = {};
    ::GetObjectW(info.hbmMask, sizeof shape, &shape);
    // A monochrome icon keeps both halves in its mask: the AND mask above the XOR one.
    const int height = color ? shape.bmHeight : shape.bmHeight / 2;
    const HDC memory = ::CreateCompatibleDC(dc);
    const HGDIOBJ old = ::SelectObject(memory, info.hbmMask);
    ::StretchBlt(dc, at.x, at.y, pixels, pixels, memory, 0, 0, shape.bmWidth, height, SRCAND);
    if (color) {
        ::SelectObject(memory, info.hbmColor);
    }
    ::StretchBlt(dc, at.x, at.y, pixels, pixels, memory, 0, color ? 0 : height, shape.bmWidth,
                 height, SRCINVERT);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
}

} // namespace

void ContainerOwnedDialogs::Own(AnsiOpenFileName& record) {
    if (record.owner == 0 && owner_) {
        record.owner = reinterpret_cast<intptr_t>(owner_());
    }
}

bool ContainerOwnedDialogs::ShowOpenDialog(AnsiOpenFileName& record) {
    Own(record);
    return dialogs_.ShowOpenDialog(record);
}

bool ContainerOwnedDialogs::ShowSaveDialog(AnsiOpenFileName& record) {
    Own(record);
    return dialogs_.ShowSaveDialog(record);
}

FilOpDlgControl::FilOpDlgControl()
    : ControlBase(FilOpDlgClass()), DispatchImpl<IFilOpDlg>([this] { return ErrorLocale(); }),
      system_([this] { return Site().ContainerRoot(); }),
      dialogs_(systemDialogs_, [this] { return Site().ContainerRoot(); }),
      dialog_(system_, dialogs_, Site()) {}

// The icon is shown only in a design environment and in pictures: an object a script makes
// never loads it.
HICON FilOpDlgControl::Icon() {
    if (icon_ == nullptr) {
        icon_ = static_cast<HICON>(::LoadImageW(ServerModule(), MAKEINTRESOURCEW(IDI_FILOPDLG),
                                                IMAGE_ICON, kIconPixels, kIconPixels, LR_SHARED));
    }
    return icon_;
}

FilOpDlgControl::~FilOpDlgControl() {
    if (iconWindow_ != nullptr) {
        ::DestroyWindow(iconWindow_);
    }
}

void* FilOpDlgControl::Find(REFIID iid) {
    if (iid == IID_IDispatch || iid == IID_IFilOpDlg) {
        return static_cast<IFilOpDlg*>(this);
    }
    return FindControlInterface(iid);
}

STDMETHODIMP FilOpDlgControl::ShowOpen() {
    return Member([this] { dialog_.ShowOpen(); });
}

STDMETHODIMP FilOpDlgControl::ShowSave() {
    return Member([this] { dialog_.ShowSave(); });
}

STDMETHODIMP FilOpDlgControl::get_CancelError(VARIANT_BOOL* value) {
    return ReadBoolean(value, [this] { return dialog_.CancelError(); });
}

STDMETHODIMP FilOpDlgControl::put_CancelError(VARIANT_BOOL value) {
    return Member([&] { dialog_.SetCancelError(value != VARIANT_FALSE); });
}

STDMETHODIMP FilOpDlgControl::get_CancelSelected(VARIANT_BOOL* value) {
    return ReadBoolean(value, [this] { return dialog_.CancelSelected(); });
}

STDMETHODIMP FilOpDlgControl::put_CancelSelected(VARIANT_BOOL value) {
    return Member([&] { dialog_.SetCancelSelected(value != VARIANT_FALSE); });
}

STDMETHODIMP FilOpDlgControl::get_DefaultExt(BSTR* value) {
    return ReadText(value, [this] { return dialog_.DefaultExt(); });
}

STDMETHODIMP FilOpDlgControl::put_DefaultExt(BSTR value) {
    return Member([&] { dialog_.SetDefaultExt(FromBstr(value)); });
}

STDMETHODIMP FilOpDlgControl::get_DialogTitle(BSTR* value) {
    return ReadText(value, [this] { return dialog_.DialogTitle(); });
}

STDMETHODIMP FilOpDlgControl::put_DialogTitle(BSTR value) {
    return Member([&] { dialog_.SetDialogTitle(FromBstr(value)); });
}

STDMETHODIMP FilOpDlgControl::get_FileName(BSTR* value) {
    return ReadText(value, [this] { return dialog_.FileName(); });
}

STDMETHODIMP FilOpDlgControl::put_FileName(BSTR value) {
    return Member([&] { dialog_.SetFileName(FromBstr(value)); });
}

STDMETHODIMP FilOpDlgControl::get_FileTitle(BSTR* value) {
    return ReadText(value, [this] { return dialog_.FileTitle(); });
}

STDMETHODIMP FilOpDlgControl::get_Filter(BSTR* value) {
    return ReadText(value, [this] { return dialog_.Filter(); });
}

STDMETHODIMP FilOpDlgControl::put_Filter(BSTR value) {
    return Member([&] { dialog_.SetFilter(FromBstr(value)); });
}

STDMETHODIMP FilOpDlgControl::get_FilterIndex(LONG* value) {
    return ReadNumber<LONG>(value, [this] { return LONG{dialog_.FilterIndex()}; });
}

STDMETHODIMP FilOpDlgControl::put_FilterIndex(LONG value) {
    return Member([&] { dialog_.SetFilterIndex(value); });
}

STDMETHODIMP FilOpDlgControl::get_Flags(LONG* value) {
    return ReadNumber<LONG>(value, [this] { return LONG{dialog_.Flags()}; });
}

STDMETHODIMP FilOpDlgControl::put_Flags(LONG value) {
    return Member([&] { dialog_.SetFlags(value); });
}

STDMETHODIMP FilOpDlgControl::get_hDC(LONG* value) {
    return ReadNumber<LONG>(value, [this] { return LONG{dialog_.hDC()}; });
}

STDMETHODIMP FilOpDlgControl::get_hParentwnd(LONG* value) {
    return ReadNumber<LONG>(value, [this] { return LONG{dialog_.hParentwnd()}; });
}

STDMETHODIMP FilOpDlgControl::put_hParentwnd(LONG value) {
    return Member([&] { dialog_.SethParentwnd(value); });
}

STDMETHODIMP FilOpDlgControl::get_InitDir(BSTR* value) {
    return ReadText(value, [this] { return dialog_.InitDir(); });
}

STDMETHODIMP FilOpDlgControl::put_InitDir(BSTR value) {
    return Member([&] { dialog_.SetInitDir(FromBstr(value)); });
}

STDMETHODIMP FilOpDlgControl::get_MaxFileSize(LONG* value) {
    return ReadNumber<LONG>(value, [this] { return LONG{dialog_.MaxFileSize()}; });
}

STDMETHODIMP FilOpDlgControl::put_MaxFileSize(LONG value) {
    return Member([&] { dialog_.SetMaxFileSize(value); });
}

STDMETHODIMP FilOpDlgControl::GetFileName(BSTR* result) {
    return ReadText(result, [this] { return dialog_.GetFileName(); });
}

// Invisible at run time; in a design environment it shows its icon, in a system icon control so
// that no window class of the server outlives it.
HWND FilOpDlgControl::ShowInPlace(HWND parent, const RECT& position) {
    if (UserMode()) {
        return nullptr;
    }
    iconWindow_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON,
                                    position.left, position.top, kIconPixels, kIconPixels, parent,
                                    nullptr, ServerModule(), nullptr);
    if (iconWindow_ != nullptr) {
        ::SendMessageW(iconWindow_, STM_SETICON, reinterpret_cast<WPARAM>(Icon()), 0);
    }
    return iconWindow_;
}

void FilOpDlgControl::HideInPlace() {
    if (iconWindow_ != nullptr) {
        ::DestroyWindow(iconWindow_);
        iconWindow_ = nullptr;
    }
}

void FilOpDlgControl::DrawContent(HDC dc, const RECT& bounds) {
    if (const HICON icon = Icon()) {
        DrawIconBitmaps(dc, icon, {bounds.left, bounds.top}, kIconPixels);
    }
}

} // namespace relingo::com
