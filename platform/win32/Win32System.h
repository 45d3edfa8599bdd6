// The system services over the real Win32 API.
#pragma once

#include "platform/SystemServices.h"
#include "platform/win32/ComApartment.h"

#include <functional>
#include <optional>
#include <utility>

namespace relingo::win32 {

// The registry key under HKEY_CURRENT_USER that holds the settings of every application that
// keeps its settings the way Visual Basic programs do.
inline constexpr wchar_t kSettingsRoot[] = L"Software\\VB and VBA Program Settings";

class Win32System final : public SystemServices {
public:
    // The window that owns the message boxes: by default the thread's active window. A control in
    // a COM host passes its container's window.
    using OwnerWindow = std::function<HWND()>;
    explicit Win32System(OwnerWindow messageOwner = {}) : messageOwner_(std::move(messageOwner)) {}

    int32_t MsgBox(const std::u16string& text, int32_t style,
                   const std::optional<std::u16string>& caption, const std::u16string& helpFile,
                   int32_t helpContext) override;
    std::u16string GetSetting(const std::u16string& appName, const std::u16string& section,
                              const std::u16string& key,
                              const std::u16string& defaultValue) override;
    void SaveSetting(const std::u16string& appName, const std::u16string& section,
                     const std::u16string& key, const std::u16string& value) override;
    void ChangeDrive(const std::u16string& drive) override;
    void ChangeDirectory(const std::u16string& path) override;
    std::u16string CurrentDirectory() override;
    std::u16string FindFirstEntry(const std::u16string& name, uint32_t attributeMask) override;
    uint32_t GetAttributes(const std::u16string& name) override;
    std::u16string ShortPathName(const std::u16string& name) override;
    uint32_t StartProgram(const std::u16string& commandLine, int32_t windowStyle) override;
    std::string ToAnsi(std::u16string_view text) override;
    std::u16string FromAnsi(std::string_view bytes) override;
    std::u16string SystemFolder() override;
    std::u16string DesktopFolder(intptr_t ownerWindow) override;
    // Read from the program's version data once: it cannot change while the program runs.
    std::u16string ProductName() override;

private:
    static std::u16string ReadProductName();

    OwnerWindow messageOwner_;
    ComApartment com_; // for the shell's folder lookup, entered on its first use
    std::optional<std::u16string> productName_;
};

} // namespace relingo::win32
