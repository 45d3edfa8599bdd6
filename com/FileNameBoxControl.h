// Relingo.FileNameBox for COM hosts: the file name box of the program's own window, with its
// members in the order of the type library and its events raised to the container's sinks.
// The box's window is made when a container places the box, or when the box is about to show a
// message, and goes when the container takes the box out; an object a script makes, sets and
// lets go never makes one.
#pragma once

#include <windows.h>

#include "com/ControlBase.h"
#include "com/DispatchImpl.h"
#include "com/OleFont.h"
#include "com/Relingo_h.h"
#include "filenamebox/win32/FileNameBoxOnDemand.h"
#include "platform/win32/Win32System.h"

#include <memory>

namespace relingo::com {

class FileNameBoxControl : public ControlBase, public DispatchImpl<IFileNameBox> {
public:
    FileNameBoxControl();
    ~FileNameBoxControl() override;

    void* Find(REFIID iid);

    // ---- IFileNameBox, in the type library's order ----
    STDMETHODIMP Cls() override;
    STDMETHODIMP Refresh() override;
    STDMETHODIMP Restore() override;
    STDMETHODIMP RestoreDefault() override;
    STDMETHODIMP Store() override;
    STDMETHODIMP Cancel(VARIANT_BOOL* result) override;
    STDMETHODIMP ValidateValue(VARIANT_BOOL* result) override;
    STDMETHODIMP get_BackColor(OLE_COLOR* value) override;
    STDMETHODIMP put_BackColor(OLE_COLOR value) override;
    STDMETHODIMP get_DefaultValue(BSTR* value) override;
    STDMETHODIMP put_DefaultValue(BSTR value) override;
    STDMETHODIMP get_Enabled(VARIANT_BOOL* value) override;
    STDMETHODIMP put_Enabled(VARIANT_BOOL value) override;
    STDMETHODIMP get_FileBody(BSTR* value) override;
    STDMETHODIMP get_FileDrive(BSTR* value) override;
    STDMETHODIMP get_FileExtension(BSTR* value) override;
    STDMETHODIMP get_FileName(BSTR* value) override;
    STDMETHODIMP get_FilePath(BSTR* value) override;
    STDMETHODIMP get_FilePathBody(BSTR* value) override;
    STDMETHODIMP get_FileTitle(BSTR* value) override;
    STDMETHODIMP get_Font(IFontDisp** value) override;
    STDMETHODIMP putref_Font(IFontDisp* value) override;
    STDMETHODIMP get_ForeColor(OLE_COLOR* value) override;
    STDMETHODIMP put_ForeColor(OLE_COLOR value) override;
    STDMETHODIMP get_IMEMode(LONG* value) override;
    STDMETHODIMP put_IMEMode(LONG value) override;
    STDMETHODIMP get_IsFile(VARIANT_BOOL* value) override;
    STDMETHODIMP get_IsFolder(VARIANT_BOOL* value) override;
    STDMETHODIMP get_KeyName(BSTR* value) override;
    STDMETHODIMP put_KeyName(BSTR value) override;
    STDMETHODIMP get_MaxLength(LONG* value) override;
    STDMETHODIMP put_MaxLength(LONG value) override;
    STDMETHODIMP get_MessageShow(VARIANT_BOOL* value) override;
    STDMETHODIMP put_MessageShow(VARIANT_BOOL value) override;
    STDMETHODIMP get_mode(FileNameBoxMode* value) override;
    STDMETHODIMP put_mode(FileNameBoxMode value) override;
    STDMETHODIMP get_SectionName(BSTR* value) override;
    STDMETHODIMP put_SectionName(BSTR value) override;
    STDMETHODIMP get_SelLength(LONG* value) override;
    STDMETHODIMP put_SelLength(LONG value) override;
    STDMETHODIMP get_SelStart(LONG* value) override;
    STDMETHODIMP put_SelStart(LONG value) override;
    STDMETHODIMP get_SelText(BSTR* value) override;
    STDMETHODIMP put_SelText(BSTR value) override;
    STDMETHODIMP get_Text(BSTR* value) override;
    STDMETHODIMP put_Text(BSTR value) override;
    STDMETHODIMP get_ValidateAtLostFocus(VARIANT_BOOL* value) override;
    STDMETHODIMP put_ValidateAtLostFocus(VARIANT_BOOL value) override;
    STDMETHODIMP get_Value(BSTR* value) override;
    STDMETHODIMP put_Value(BSTR value) override;
    STDMETHODIMP get_ShortFileName(BSTR* value) override;
    STDMETHODIMP get_LongFileName(BSTR* value) override;

private:
    class EventRelay;

    FileNameBox& Box() { return box_.Box(); }
    HWND MessageOwner();

    // ---- ControlBase ----
    void InitProperties() override;
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    HWND ShowInPlace(HWND parent, const RECT& position) override;
    void HideInPlace() override;
    void DrawContent(HDC dc, const RECT& bounds) override;
    HWND EditWindow() override;
    DISPID IdOfProperty(std::u16string_view name) override;

    win32::Win32System system_;
    std::unique_ptr<EventRelay> relay_;
    win32::FileNameBoxOnDemand box_;
    // The font object handed out or in last, with the box's font it stands for: the host gets
    // back the very object it set, as long as the box keeps that font, and what it changes
    // through the object reaches the box.
    FontObject font_;
};

} // namespace relingo::com
