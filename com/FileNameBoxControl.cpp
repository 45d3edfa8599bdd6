#include "com/FileNameBoxControl.h"

#include "com/Bstr.h"
#include "com/ComObject.h"
#include "com/OleFont.h"
#include "filenamebox/win32/GdiFont.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

#include <olectl.h>

namespace relingo::com {

namespace {

// The events' numbers in the type library.
namespace event {
constexpr DISPID kChange = 1;
constexpr DISPID kClick = 2;
constexpr DISPID kDblClick = 3;
constexpr DISPID kKeyDown = 4;
constexpr DISPID kKeyPress = 5;
constexpr DISPID kKeyUp = 6;
constexpr DISPID kMouseDown = 7;
constexpr DISPID kMouseMove = 8;
constexpr DISPID kMouseUp = 9;
} // namespace event

VARIANTARG ByReference(int16_t& value) {
    VARIANTARG argument;
    argument.vt = VT_I2 | VT_BYREF;
    argument.piVal = &value;
    return argument;
}

VARIANTARG ByReference(float& value) {
    VARIANTARG argument;
    argument.vt = VT_R4 | VT_BYREF;
    argument.pfltVal = &value;
    return argument;
}

// The box's objects for other programs (its accessible object, its drop target) keep the server
// loaded as its controls do.
win32::BoxSystem ServerBoxSystem() {
    win32::BoxSystem system;
    system.counts = {&ServerCounts::ObjectCreated, &ServerCounts::ObjectDestroyed};
    return system;
}

COLORREF ToColorRef(OLE_COLOR color) {
    COLORREF translated = 0;
    return SUCCEEDED(::OleTranslateColor(color, nullptr, &translated)) ? translated : 0;
}

} // namespace

// The box's nine events, raised to the container's sinks with their parameters by reference:
// what a sink writes into KeyAscii, KeyCode, Button or Shift flows back into the box.
class FileNameBoxControl::EventRelay final : public FileNameBoxEvents {
public:
    explicit EventRelay(FileNameBoxControl& control) : control_(control) {}

    void Change() override { control_.FireEvent(event::kChange, nullptr, 0); }
    void Click() override { control_.FireEvent(event::kClick, nullptr, 0); }
    void DblClick() override { control_.FireEvent(event::kDblClick, nullptr, 0); }
    void KeyDown(int16_t& keyCode, int16_t& shift) override {
        Key(event::kKeyDown, keyCode, shift);
    }
    void KeyPress(int16_t& keyAscii) override {
        VARIANTARG arguments[] = {ByReference(keyAscii)};
        control_.FireEvent(event::kKeyPress, arguments, 1);
    }
    void KeyUp(int16_t& keyCode, int16_t& shift) override { Key(event::kKeyUp, keyCode, shift); }
    void MouseDown(int16_t& button, int16_t& shift, float& x, float& y) override {
        Mouse(event::kMouseDown, button, shift, x, y);
    }
    void MouseMove(int16_t& button, int16_t& shift, float& x, float& y) override {
        Mouse(event::kMouseMove, button, shift, x, y);
    }
    void MouseUp(int16_t& button, int16_t& shift, float& x, float& y) override {
        Mouse(event::kMouseUp, button, shift, x, y);
    }

private:
    // The arguments go last first, as DISPPARAMS holds them.
    void Key(DISPID id, int16_t& keyCode, int16_t& shift) {
        VARIANTARG arguments[] = {ByReference(shift), ByReference(keyCode)};
        control_.FireEvent(id, arguments, 2);
    }
    void Mouse(DISPID id, int16_t& button, int16_t& shift, float& x, float& y) {
        VARIANTARG arguments[] = {ByReference(y), ByReference(x), ByReference(shift),
                                  ByReference(button)};
        control_.FireEvent(id, arguments, 4);
    }

    FileNameBoxControl& control_;
};

FileNameBoxControl::FileNameBoxControl()
    : ControlBase(FileNameBoxClass()), DispatchImpl<IFileNameBox>([this] { return ErrorLocale(); }),
      system_([this] { return MessageOwner(); }), relay_(std::make_unique<EventRelay>(*this)),
      box_(system_, Site(), ExtentPixels(), relay_.get(), ServerBoxSystem()),
      font_([this](FontPtr changed) {
          Box().SetFont(changed);
          font_.Took(std::move(changed));
      }) {
    box_.SetFocusObserver([this](bool gained) { OnControlFocus(gained); });
}

FileNameBoxControl::~FileNameBoxControl() {
    box_.SetFocusObserver(nullptr);
    Box().SetEvents(nullptr);
}

// A box that shows a fault is in a person's hands, not only a script's: it gets its window first,
// as a box in a window always had one while its fault boxes were up. The owner is the
// container's window, or without one the active window.
HWND FileNameBoxControl::MessageOwner() {
    box_.EnsureWindow();
    return Site().ContainerRoot();
}

void* FileNameBoxControl::Find(REFIID iid) {
    if (iid == IID_IDispatch || iid == IID_IFileNameBox) {
        return static_cast<IFileNameBox*>(this);
    }
    return FindControlInterface(iid);
}

// ---- Methods ----

STDMETHODIMP FileNameBoxControl::Cls() {
    return Member([this] { Box().Cls(); });
}

STDMETHODIMP FileNameBoxControl::Refresh() {
    return Member([this] { Box().Refresh(); });
}

STDMETHODIMP FileNameBoxControl::Restore() {
    return Member([this] { Box().Restore(); });
}

STDMETHODIMP FileNameBoxControl::RestoreDefault() {
    return Member([this] { Box().RestoreDefault(); });
}

STDMETHODIMP FileNameBoxControl::Store() {
    return Member([this] { Box().Store(); });
}

STDMETHODIMP FileNameBoxControl::Cancel(VARIANT_BOOL* result) {
    return ReadBoolean(result, [this] { return Box().Cancel(); });
}

STDMETHODIMP FileNameBoxControl::ValidateValue(VARIANT_BOOL* result) {
    return ReadBoolean(result, [this] { return Box().ValidateValue(); });
}

// ---- Properties ----

STDMETHODIMP FileNameBoxControl::get_BackColor(OLE_COLOR* value) {
    return ReadNumber<OLE_COLOR>(value, [this] { return OLE_COLOR{Box().BackColor()}; });
}

STDMETHODIMP FileNameBoxControl::put_BackColor(OLE_COLOR value) {
    return Member([&] { Box().SetBackColor(value); });
}

STDMETHODIMP FileNameBoxControl::get_DefaultValue(BSTR* value) {
    return ReadText(value, [this] { return Box().DefaultValue(); });
}

STDMETHODIMP FileNameBoxControl::put_DefaultValue(BSTR value) {
    return Member([&] { Box().SetDefaultValue(FromBstr(value)); });
}

STDMETHODIMP FileNameBoxControl::get_Enabled(VARIANT_BOOL* value) {
    return ReadBoolean(value, [this] { return Box().Enabled(); });
}

STDMETHODIMP FileNameBoxControl::put_Enabled(VARIANT_BOOL value) {
    return Member([&] { Box().SetEnabled(value != VARIANT_FALSE); });
}

STDMETHODIMP FileNameBoxControl::get_FileBody(BSTR* value) {
    return ReadText(value, [this] { return Box().FileBody(); });
}

STDMETHODIMP FileNameBoxControl::get_FileDrive(BSTR* value) {
    return ReadText(value, [this] { return Box().FileDrive(); });
}

STDMETHODIMP FileNameBoxControl::get_FileExtension(BSTR* value) {
    return ReadText(value, [this] { return Box().FileExtension(); });
}

STDMETHODIMP FileNameBoxControl::get_FileName(BSTR* value) {
    return ReadText(value, [this] { return Box().FileName(); });
}

STDMETHODIMP FileNameBoxControl::get_FilePath(BSTR* value) {
    return ReadText(value, [this] { return Box().FilePath(); });
}

STDMETHODIMP FileNameBoxControl::get_FilePathBody(BSTR* value) {
    return ReadText(value, [this] { return Box().FilePathBody(); });
}

STDMETHODIMP FileNameBoxControl::get_FileTitle(BSTR* value) {
    return ReadText(value, [this] { return Box().FileTitle(); });
}

STDMETHODIMP FileNameBoxControl::get_Font(IFontDisp** value) {
    if (value == nullptr) {
        return E_POINTER;
    }
    *value = nullptr;
    return Member([&] {
        const FontPtr current = Box().Font();
        if (font_.Object() == nullptr || current != font_.StandsFor()) {
            font_.Set(MakeOleFont(current ? *current : Font{}), current);
        }
        *value = ComPtr<IFontDisp>(font_.Object()).Detach();
    });
}

STDMETHODIMP FileNameBoxControl::putref_Font(IFontDisp* value) {
    return Member([&] {
        auto font = std::make_shared<Font>(ReadOleFont(value));
        Box().SetFont(font);
        font_.Set(value, std::move(font));
    });
}

STDMETHODIMP FileNameBoxControl::get_ForeColor(OLE_COLOR* value) {
    return ReadNumber<OLE_COLOR>(value, [this] { return OLE_COLOR{Box().ForeColor()}; });
}

STDMETHODIMP FileNameBoxControl::put_ForeColor(OLE_COLOR value) {
    return Member([&] { Box().SetForeColor(value); });
}

STDMETHODIMP FileNameBoxControl::get_IMEMode(LONG* value) {
    return ReadNumber<LONG>(value, [this] { return LONG{Box().IMEMode()}; });
}

STDMETHODIMP FileNameBoxControl::put_IMEMode(LONG value) {
    return Member([&] { Box().SetIMEMode(value); });
}

STDMETHODIMP FileNameBoxControl::get_IsFile(VARIANT_BOOL* value) {
    return ReadBoolean(value, [this] { return Box().IsFile(); });
}

STDMETHODIMP FileNameBoxControl::get_IsFolder(VARIANT_BOOL* value) {
    return ReadBoolean(value, [this] { return Box().IsFolder(); });
}

STDMETHODIMP FileNameBoxControl::get_KeyName(BSTR* value) {
    return ReadText(value, [this] { return Box().KeyName(); });
}

STDMETHODIMP FileNameBoxControl::put_KeyName(BSTR value) {
    return Member([&] { Box().SetKeyName(FromBstr(value)); });
}

STDMETHODIMP FileNameBoxControl::get_MaxLength(LONG* value) {
    return ReadNumber<LONG>(value, [this] { return LONG{Box().MaxLength()}; });
}

STDMETHODIMP FileNameBoxControl::put_MaxLength(LONG value) {
    return Member([&] { Box().SetMaxLength(value); });
}

STDMETHODIMP FileNameBoxControl::get_MessageShow(VARIANT_BOOL* value) {
    return ReadBoolean(value, [this] { return Box().MessageShow(); });
}

STDMETHODIMP FileNameBoxControl::put_MessageShow(VARIANT_BOOL value) {
    return Member([&] { Box().SetMessageShow(value != VARIANT_FALSE); });
}

STDMETHODIMP FileNameBoxControl::get_mode(FileNameBoxMode* value) {
    return ReadNumber<FileNameBoxMode>(
        value, [this] { return static_cast<FileNameBoxMode>(Box().mode()); });
}

STDMETHODIMP FileNameBoxControl::put_mode(FileNameBoxMode value) {
    return Member([&] { Box().SetMode(static_cast<int32_t>(value)); });
}

STDMETHODIMP FileNameBoxControl::get_SectionName(BSTR* value) {
    return ReadText(value, [this] { return Box().SectionName(); });
}

STDMETHODIMP FileNameBoxControl::put_SectionName(BSTR value) {
    return Member([&] { Box().SetSectionName(FromBstr(value)); });
}

STDMETHODIMP FileNameBoxControl::get_SelLength(LONG* value) {
    return ReadNumber<LONG>(value, [this] { return LONG{Box().SelLength()}; });
}

STDMETHODIMP FileNameBoxControl::put_SelLength(LONG value) {
    return Member([&] { Box().SetSelLength(value); });
}

STDMETHODIMP FileNameBoxControl::get_SelStart(LONG* value) {
    return ReadNumber<LONG>(value, [this] { return LONG{Box().SelStart()}; });
}

STDMETHODIMP FileNameBoxControl::put_SelStart(LONG value) {
    return Member([&] { Box().SetSelStart(value); });
}

STDMETHODIMP FileNameBoxControl::get_SelText(BSTR* value) {
    return ReadText(value, [this] { return Box().SelText(); });
}

STDMETHODIMP FileNameBoxControl::put_SelText(BSTR value) {
    return Member([&] { Box().SetSelText(FromBstr(value)); });
}

STDMETHODIMP FileNameBoxControl::get_Text(BSTR* value) {
    return ReadText(value, [this] { return Box().Text(); });
}

STDMETHODIMP FileNameBoxControl::put_Text(BSTR value) {
    return Member([&] { Box().SetText(FromBstr(value)); });
}

STDMETHODIMP FileNameBoxControl::get_ValidateAtLostFocus(VARIANT_BOOL* value) {
    return ReadBoolean(value, [this] { return Box().ValidateAtLostFocus(); });
}

STDMETHODIMP FileNameBoxControl::put_ValidateAtLostFocus(VARIANT_BOOL value) {
    return Member([&] { Box().SetValidateAtLostFocus(value != VARIANT_FALSE); });
}

STDMETHODIMP FileNameBoxControl::get_Value(BSTR* value) {
    return ReadText(value, [this] { return Box().Value(); });
}

STDMETHODIMP FileNameBoxControl::put_Value(BSTR value) {
    return Member([&] { Box().SetValue(FromBstr(value)); });
}

STDMETHODIMP FileNameBoxControl::get_ShortFileName(BSTR* value) {
    return ReadText(value, [this] { return Box().ShortFileName(); });
}

STDMETHODIMP FileNameBoxControl::get_LongFileName(BSTR* value) {
    return ReadText(value, [this] { return Box().LongFileName(); });
}

// ---- Lifecycle ----

// A new box refuses no character until its stored properties are read. In a design
// environment that is what placing a box means; but a host that makes a new box at run time
// (ambient UserMode True) must get the box a running program gets, which refuses the forbidden
// characters: it is made as a running program makes its boxes, from an empty bag.
void FileNameBoxControl::InitProperties() {
    Box().InitProperties();
    if (UserMode()) {
        Box().ReadProperties(PropertyBag());
    }
}

void FileNameBoxControl::ReadProperties(const PropertyBag& bag) {
    Box().ReadProperties(bag);
}

void FileNameBoxControl::WriteProperties(PropertyBag& bag) {
    Box().WriteProperties(bag);
}

HWND FileNameBoxControl::ShowInPlace(HWND parent, const RECT& position) {
    return box_.Place(parent, position);
}

void FileNameBoxControl::HideInPlace() {
    box_.Unplace();
}

HWND FileNameBoxControl::EditWindow() {
    return box_.Window() != nullptr ? box_.Window()->EditHandle() : nullptr;
}

DISPID FileNameBoxControl::IdOfProperty(std::u16string_view name) {
    return Dispatch().IdOfName(name);
}

// The box as it looks in its window: its text in its font and colours, in a sunken frame.
void FileNameBoxControl::DrawContent(HDC dc, const RECT& bounds) {
    FileNameBox& box = Box();
    const win32::UniqueGdiObject background(::CreateSolidBrush(ToColorRef(box.BackColor())));
    ::FillRect(dc, &bounds, static_cast<HBRUSH>(background.Get()));
    RECT frame = bounds;
    ::DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    const FontPtr font = box.Font();
    const LOGFONTW logFont =
        win32::ToLogFont(font ? *font : Font{}, static_cast<UINT>(::GetDeviceCaps(dc, LOGPIXELSY)));
    const win32::UniqueGdiObject gdiFont(::CreateFontIndirectW(&logFont));
    const HGDIOBJ oldFont = ::SelectObject(dc, gdiFont.Get());
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = ::SetTextColor(dc, ToColorRef(box.ForeColor()));
    std::wstring text = win32::ToWide(box.Text());
    frame.left += 2;
    ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &frame,
                DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SetTextColor(dc, oldColor);
    ::SetBkMode(dc, oldMode);
    ::SelectObject(dc, oldFont);
}

} // namespace relingo::com
