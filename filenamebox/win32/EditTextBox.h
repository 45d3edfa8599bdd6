// The inner text box over a real EDIT control. It turns the EDIT's messages into the
// notifications of the text box (typed characters before they are entered, keys, mouse,
// clicks, text changes, a loss of focus to another control, dropped files) and its properties
// into the EDIT's state.
#pragma once

#include <windows.h>

#include "filenamebox/win32/BoxSystem.h"
#include "filenamebox/win32/FileDrops.h"
#include "platform/LifeToken.h"
#include "platform/TextBox.h"
#include "platform/win32/ComApartment.h"
#include "platform/win32/Handles.h"
#include "platform/win32/RunTimeFunctions.h"

#include <memory>
#include <optional>
#include <vector>

namespace relingo::win32 {

class EditTextBox final : public TextBox {
public:
    // Creates the EDIT as a child of parent filling its client area, with the given control id
    // and font, made at the DPI that system tells for the EDIT. The parent must pass the EDIT's
    // notifications on through HandleParentMessage.
    EditTextBox(HWND parent, int controlId, FontPtr font, const BoxSystem& system = {});
    ~EditTextBox() override;
    EditTextBox(const EditTextBox&) = delete;
    EditTextBox& operator=(const EditTextBox&) = delete;

    HWND Handle() const { return edit_; }
    // Whether the system's completion of file and folder names is on for the box. It comes on
    // once the box has first had the focus and the window is idle.
    bool AutoCompleteOn() const { return autoCompleteOn_; }
    // Makes the box take files that programs drag with OLE, once the window is idle. Its owner
    // asks for it when the box is where the mouse can reach it.
    void AcceptDropsOnceIdle();
    // Whether the box is an OLE drop target. It is not where the thread cannot have OLE (a
    // thread of the multithreaded apartment), nor in a program that runs above the shell, from
    // which Windows keeps OLE drags apart; files then still arrive as WM_DROPFILES.
    bool TakesOleDrops() const { return dropTarget_ != nullptr; }
    // Makes the font again at the window's new dots per inch, which its parent tells where the
    // system cannot tell a window's own (before Windows 10 1607).
    void SetDpi(UINT dpi);

    // Handles the messages an EDIT sends its parent (EN_CHANGE, WM_CTLCOLOREDIT); true when the
    // message was the box's, with the answer in result.
    bool HandleParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // ---- TextBox ----
    void SetEvents(TextBoxEvents* events) override { events_ = events; }
    std::u16string Text() const override;
    void SetText(const std::u16string& text) override;
    int32_t SelStart() const override;
    void SetSelStart(int32_t start) override;
    int32_t SelLength() const override;
    void SetSelLength(int32_t length) override;
    std::u16string SelText() const override;
    void SetSelText(const std::u16string& text) override;
    uint32_t BackColor() const override { return backColor_; }
    void SetBackColor(uint32_t color) override;
    uint32_t ForeColor() const override { return foreColor_; }
    void SetForeColor(uint32_t color) override;
    bool Enabled() const override;
    void SetEnabled(bool enabled) override;
    FontPtr GetFont() const override { return font_; }
    void SetFont(FontPtr font) override;
    int16_t IMEMode() const override { return imeMode_; }
    void SetIMEMode(int16_t mode) override;
    int32_t MaxLength() const override { return maxLength_; }
    void SetMaxLength(int32_t length) override;
    void SetFocus() override;
    float Width() const override;
    float Height() const override;
    void SetWidth(float width) override;
    void SetHeight(float height) override;

private:
    void Subclass();
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Each returns whether the EDIT's own handling is to be skipped.
    bool OnChar(WPARAM& wParam);
    bool OnKey(UINT message, WPARAM wParam);
    void OnMouse(UINT message, WPARAM wParam, LPARAM lParam);
    void OnKillFocus(HWND newFocus);
    void OnLeaveTimer();
    void StartCompletion();
    void AcceptDrops();
    void QueueDroppedFiles(const std::vector<std::u16string>& files);
    void TakeQueuedFiles();
    void TakeDroppedFiles(const std::vector<std::u16string>& files);
    void OnDestroyed();
    void ApplyIMEMode();
    void ApplyBackBrush();
    SIZE CurrentSize() const;
    void Resize(SIZE size);

    HWND edit_ = nullptr;
    WNDPROC editProc_ = nullptr;
    BoxSystem system_;
    UINT fontDpi_ = USER_DEFAULT_SCREEN_DPI; // what the GDI font is made for
    TextBoxEvents* events_ = nullptr;
    uint32_t backColor_;
    uint32_t foreColor_;
    UniqueGdiObject backBrush_; // empty for a system colour, whose brush the system owns
    FontPtr font_;
    UniqueGdiObject gdiFont_;
    int16_t imeMode_ = 0;
    int32_t maxLength_ = 0;
    bool autoCompleteOn_ = false;
    int completionTicks_ = 0; // of the timer that waits for the window to be idle; 2 once tried
    int dropTicks_ = 0;       // the same for the drop target
    // For completion, the accessible object and the drop target, entered on their first use.
    ComApartment com_;
    std::unique_ptr<FileDropRegistration> dropTarget_; // revoked as the EDIT goes
    std::vector<std::u16string> droppedFiles_;         // taken when the posted message comes
    bool leftButtonDown_ = false;
    // An event's handler may end the box (a form closes with it): whatever raised the event
    // checks this before it touches the box again.
    LifeToken life_;
};

} // namespace relingo::win32
