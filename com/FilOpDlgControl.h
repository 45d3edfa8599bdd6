// Relingo.FilOpDlg for COM hosts: the file dialog control, invisible at run time. At design
// time it shows its icon and keeps the icon's size. Its dialogs and boxes are owned by the
// container's window unless hParentwnd names another.
#pragma once

#include <windows.h>

#include "com/ControlBase.h"
#include "com/DispatchImpl.h"
#include "com/Relingo_h.h"
#include "filopdlg/FilOpDlg.h"
#include "platform/win32/Win32CommonDialogs.h"
#include "platform/win32/Win32System.h"

namespace relingo::com {

// The dialogs of the system, owned by the container's window when the request names no owner.
class ContainerOwnedDialogs final : public CommonDialogs {
public:
    ContainerOwnedDialogs(CommonDialogs& dialogs, std::function<HWND()> owner)
        : dialogs_(dialogs), owner_(std::move(owner)) {}

    uint32_t OpenFileNameSize() override { return dialogs_.OpenFileNameSize(); }
    bool ShowOpenDialog(AnsiOpenFileName& record) override;
    bool ShowSaveDialog(AnsiOpenFileName& record) override;
    uint32_t ExtendedError() override { return dialogs_.ExtendedError(); }
    char* AllocateBlock(size_t bytes) override { return dialogs_.AllocateBlock(bytes); }
    void FreeBlock(char* block) noexcept override { dialogs_.FreeBlock(block); }

private:
    void Own(AnsiOpenFileName& record);

    CommonDialogs& dialogs_;
    std::function<HWND()> owner_;
};

class FilOpDlgControl : public ControlBase, public DispatchImpl<IFilOpDlg> {
public:
    FilOpDlgControl();
    ~FilOpDlgControl() override;

    void* Find(REFIID iid);

    // ---- IFilOpDlg, in the type library's order ----
    STDMETHODIMP ShowOpen() override;
    STDMETHODIMP ShowSave() override;
    STDMETHODIMP get_CancelError(VARIANT_BOOL* value) override;
    STDMETHODIMP put_CancelError(VARIANT_BOOL value) override;
    STDMETHODIMP get_CancelSelected(VARIANT_BOOL* value) override;
    STDMETHODIMP put_CancelSelected(VARIANT_BOOL value) override;
    STDMETHODIMP get_DefaultExt(BSTR* value) override;
    STDMETHODIMP put_DefaultExt(BSTR value) override;
    STDMETHODIMP get_DialogTitle(BSTR* value) override;
    STDMETHODIMP put_DialogTitle(BSTR value) override;
    STDMETHODIMP get_FileName(BSTR* value) override;
    STDMETHODIMP put_FileName(BSTR value) override;
    STDMETHODIMP get_FileTitle(BSTR* value) override;
    STDMETHODIMP get_Filter(BSTR* value) override;
    STDMETHODIMP put_Filter(BSTR value) override;
    STDMETHODIMP get_FilterIndex(LONG* value) override;
    STDMETHODIMP put_FilterIndex(LONG value) override;
    STDMETHODIMP get_Flags(LONG* value) override;
    STDMETHODIMP put_Flags(LONG value) override;
    STDMETHODIMP get_hDC(LONG* value) override;
    STDMETHODIMP get_hParentwnd(LONG* value) override;
    STDMETHODIMP put_hParentwnd(LONG value) override;
    STDMETHODIMP get_InitDir(BSTR* value) override;
    STDMETHODIMP put_InitDir(BSTR value) override;
    STDMETHODIMP get_MaxFileSize(LONG* value) override;
    STDMETHODIMP put_MaxFileSize(LONG value) override;
    STDMETHODIMP GetFileName(BSTR* result) override;

private:
    // ---- ControlBase ----
    void InitProperties() override { dialog_.InitProperties(); }
    void ReadProperties(const PropertyBag& bag) override { dialog_.ReadProperties(bag); }
    void WriteProperties(PropertyBag& bag) override { dialog_.WriteProperties(bag); }
    HWND ShowInPlace(HWND parent, const RECT& position) override;
    void HideInPlace() override;
    void DrawContent(HDC dc, const RECT& bounds) override;
    void OnExtentChanged() override { dialog_.Resize(); }
    DISPID IdOfProperty(std::u16string_view name) override { return Dispatch().IdOfName(name); }
    HICON Icon();

    win32::Win32System system_;
    win32::Win32CommonDialogs systemDialogs_;
    ContainerOwnedDialogs dialogs_;
    FilOpDlg dialog_;
    HICON icon_ = nullptr; // a shared resource icon, loaded on first use, not destroyed
    HWND iconWindow_ = nullptr;
};

} // namespace relingo::com
