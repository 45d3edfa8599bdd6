// FileNameBox: a one-line text box for the name of a file or folder. It keeps forbidden
// characters out as they are typed, checks the name when asked (and when the user leaves it),
// shows each fault in a message box, and hands out the name cut into parts.
#pragma once

#include "platform/HostServices.h"
#include "platform/PropertyBag.h"
#include "platform/SystemServices.h"
#include "platform/TextBox.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace relingo {

// The events a FileNameBox raises to the window that holds it. Every parameter is a reference:
// a handler that sets keyAscii to 0 keeps the character out of the box, and a change to a key
// code, button or shift state flows back to the inner box. x and y of the mouse events are
// copies in the container's scale; changing them changes nothing.
class FileNameBoxEvents {
public:
    virtual ~FileNameBoxEvents() = default;
    virtual void Change() {}
    virtual void Click() {}
    virtual void DblClick() {}
    virtual void KeyDown(int16_t& /*keyCode*/, int16_t& /*shift*/) {}
    virtual void KeyPress(int16_t& /*keyAscii*/) {}
    virtual void KeyUp(int16_t& /*keyCode*/, int16_t& /*shift*/) {}
    virtual void MouseDown(int16_t& /*button*/, int16_t& /*shift*/, float& /*x*/, float& /*y*/) {}
    virtual void MouseMove(int16_t& /*button*/, int16_t& /*shift*/, float& /*x*/, float& /*y*/) {}
    virtual void MouseUp(int16_t& /*button*/, int16_t& /*shift*/, float& /*x*/, float& /*y*/) {}
};

// What mode asks of an existing name.
namespace fnbmode {
inline constexpr int32_t kSyntaxOnly = 0;
inline constexpr int32_t kFile = 1;
inline constexpr int32_t kFolder = 2;
inline constexpr int32_t kFileOrFolder = 3;
} // namespace fnbmode

// Results of the existence probe.
namespace existence {
inline constexpr int16_t kUnusable = 0;
inline constexpr int16_t kFile = 1;
inline constexpr int16_t kFolder = 2;
inline constexpr int16_t kEmptyName = 3;
} // namespace existence

// The control itself. It works on an inner text box and the services of its host and of the
// system, all handed in and outliving it; it never sees a window handle. Operations report
// failures of the inner box or the host by throwing relingo::Error and catch none.
class FileNameBox : private TextBoxEvents {
public:
    FileNameBox(SystemServices& system, ControlHost& host, TextBox& txtInput,
                FileNameBoxEvents* events = nullptr);
    ~FileNameBox() override;
    FileNameBox(const FileNameBox&) = delete;
    FileNameBox& operator=(const FileNameBox&) = delete;

    // The receiver of the nine events; null raises them to nobody.
    void SetEvents(FileNameBoxEvents* events) { events_ = events; }

    // ---- The public surface, in the order FileNameBoxMembers lists it ----

    void Cls();
    void Refresh();
    void Restore();
    void RestoreDefault();
    void Store();
    bool Cancel();
    bool ValidateValue();

    uint32_t BackColor() const;
    void SetBackColor(uint32_t newBackColor);
    std::u16string DefaultValue() const { return defaultValue_; }
    void SetDefaultValue(const std::u16string& newDefaultValue);
    bool Enabled() const;
    void SetEnabled(bool newEnabled);
    std::u16string FileBody();
    std::u16string FileDrive() const;
    std::u16string FileExtension();
    std::u16string FileName();
    std::u16string FilePath();
    std::u16string FilePathBody();
    std::u16string FileTitle();
    FontPtr Font() const;
    void SetFont(FontPtr newFont);
    uint32_t ForeColor() const;
    void SetForeColor(uint32_t newForeColor);
    int32_t IMEMode() const;
    void SetIMEMode(int32_t newIMEMode);
    bool IsFile();
    bool IsFolder();
    std::u16string KeyName() const { return keyName_; }
    void SetKeyName(const std::u16string& newKeyName);
    int32_t MaxLength() const;
    void SetMaxLength(int32_t newMaxLength);
    bool MessageShow() const { return messageShow_; }
    void SetMessageShow(bool newMessageShow);
    int32_t mode() const { return mode_; }
    void SetMode(int32_t newMode);
    std::u16string SectionName() const { return sectionName_; }
    void SetSectionName(const std::u16string& newSectionName);
    int32_t SelLength() const;
    void SetSelLength(int32_t newSelLength);
    int32_t SelStart() const;
    void SetSelStart(int32_t newSelStart);
    std::u16string SelText() const;
    void SetSelText(const std::u16string& newSelText);
    std::u16string Text() const;
    void SetText(const std::u16string& newText);
    bool ValidateAtLostFocus() const { return validateAtLostFocus_; }
    void SetValidateAtLostFocus(bool newValidateAtLostFocus);
    std::u16string Value() const;
    void SetValue(const std::u16string& newValue);
    std::u16string ShortFileName();
    std::u16string LongFileName();

    // ---- Lifecycle notifications from the host ----

    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;
    // The host has changed the control's size: the inner box fills it.
    void Resize();

    // The refused characters; empty until the stored properties have been read.
    const std::u16string& IllegalChars() const { return illegalChars_; }

private:
    // ---- Notifications of the inner box ----
    void OnChange() override;
    void OnClick() override;
    void OnDblClick() override;
    void OnKeyDown(int16_t& keyCode, int16_t& shift) override;
    void OnKeyPress(int16_t& keyAscii) override;
    void OnKeyUp(int16_t& keyCode, int16_t& shift) override;
    void OnMouseDown(int16_t& button, int16_t& shift, float x, float y) override;
    void OnMouseMove(int16_t& button, int16_t& shift, float x, float y) override;
    void OnMouseUp(int16_t& button, int16_t& shift, float x, float y) override;
    void OnLeave() override;
    void OnLostFocus() override;
    void OnDropFiles(const std::vector<std::u16string>* files) override;

    // ---- Checking ----
    bool CheckValue();
    bool RunCheck();
    bool CheckSyntax(const std::u16string& name);
    int16_t CheckExistence(const std::u16string& name);
    void ShowFault(const std::u16string& text, int16_t captionCode, int32_t style);
    void ShowFaultCode(int16_t messageCode, int16_t captionCode, int32_t style);

    // ---- Name parts ----
    int32_t LastPosition(char16_t character);

    // Converts a mouse position of the inner box to the container's scale.
    float ToContainerX(float x);
    float ToContainerY(float y);

    SystemServices& system_;
    ControlHost& host_;
    TextBox& txtInput_;
    FileNameBoxEvents* events_;

    bool messageShow_ = true;
    int32_t mode_ = fnbmode::kSyntaxOnly;
    bool validateAtLostFocus_ = true;
    std::u16string defaultValue_;
    std::u16string keyName_;
    std::u16string sectionName_;
    std::optional<std::u16string> storedValue_;
    std::u16string illegalChars_;
    // Counts validation runs in progress: a loss of focus caused by one of their own fault boxes
    // must not start another run.
    int validationDepth_ = 0;
    // Between leaving the box and the end of the action that left it, the last run the host made
    // meanwhile (OK reading FileName, say): the loss of focus acts on its verdict rather than
    // show the same faults a second time, as long as the text is still the one it judged.
    struct Verdict {
        std::u16string text;
        bool valid;
    };
    bool leaving_ = false;
    std::optional<Verdict> verdictWhileLeaving_;
};

} // namespace relingo
