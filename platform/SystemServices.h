// The operating-system services the program's logic relies on, behind one interface so that the
// logic runs the same over the real Win32 backend and over the test backend.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace relingo {

// Message box styles and answers, as the Windows MessageBox numbers them.
namespace mb {
inline constexpr int32_t kOkOnly = 0x0;
inline constexpr int32_t kYesNo = 0x4;
inline constexpr int32_t kIconStop = 0x10;
inline constexpr int32_t kIconExclamation = 0x30;
inline constexpr int32_t kDefaultButton2 = 0x100;
inline constexpr int32_t kAnswerOk = 1;
inline constexpr int32_t kAnswerYes = 6;
inline constexpr int32_t kAnswerNo = 7;
} // namespace mb

// Windows file attribute bits.
namespace attr {
inline constexpr uint32_t kReadOnly = 0x1;
inline constexpr uint32_t kHidden = 0x2;
inline constexpr uint32_t kSystem = 0x4;
inline constexpr uint32_t kDirectory = 0x10;
inline constexpr uint32_t kArchive = 0x20;
inline constexpr uint32_t kNormal = 0x80;
inline constexpr uint32_t kCompressed = 0x800;
} // namespace attr

// Attribute masks of the directory search: folders as well as plain files, and in addition
// hidden and system entries.
namespace search {
inline constexpr uint32_t kFolders = attr::kDirectory;
inline constexpr uint32_t kFoldersHiddenSystem = attr::kDirectory | attr::kSystem | attr::kHidden;
} // namespace search

// Window style of a started program: a normal window that receives the focus.
inline constexpr int32_t kNormalFocus = 1;

// Every operation reports failure by throwing relingo::Error.
class SystemServices {
public:
    virtual ~SystemServices() = default;

    // A modal message box; without a caption it shows the application's title. Returns the
    // pressed button (mb::kAnswer...).
    virtual int32_t MsgBox(const std::u16string& text, int32_t style,
                           const std::optional<std::u16string>& caption = std::nullopt,
                           const std::u16string& helpFile = {}, int32_t helpContext = 0) = 0;

    // The per-user settings store. A read of an absent key gives the default.
    virtual std::u16string GetSetting(const std::u16string& appName, const std::u16string& section,
                                      const std::u16string& key,
                                      const std::u16string& defaultValue) = 0;
    virtual void SaveSetting(const std::u16string& appName, const std::u16string& section,
                             const std::u16string& key, const std::u16string& value) = 0;

    // Makes the drive named by the first letter current; an empty text changes nothing.
    virtual void ChangeDrive(const std::u16string& drive) = 0;
    virtual void ChangeDirectory(const std::u16string& path) = 0;
    virtual std::u16string CurrentDirectory() = 0;

    // The stored name of the first directory entry the name (which may act as a pattern) finds,
    // or "" when there is none. Entries with the hidden or system bit are found only when the
    // mask holds that bit; "." and ".." count as entries; a name that ends with a backslash
    // searches inside that folder.
    virtual std::u16string FindFirstEntry(const std::u16string& name, uint32_t attributeMask) = 0;

    // The full 32-bit Windows attribute bits of a file or folder.
    virtual uint32_t GetAttributes(const std::u16string& name) = 0;

    // The short (8.3) form of an existing name, or "" when there is none.
    virtual std::u16string ShortPathName(const std::u16string& name) = 0;

    // Starts the program that the first token of the command line names, in the current folder
    // (".EXE" added when the name has no extension) and nowhere else; does not wait. Returns the
    // task (process) id.
    virtual uint32_t StartProgram(const std::u16string& commandLine, int32_t windowStyle) = 0;

    // Conversion to and from the system's ANSI code page.
    virtual std::string ToAnsi(std::u16string_view text) = 0;
    virtual std::u16string FromAnsi(std::string_view bytes) = 0;

    // The Windows system folder, and the desktop folder of the user ("" when the lookup
    // fails). ownerWindow is the handle of the window asking, 0 for none.
    virtual std::u16string SystemFolder() = 0;
    virtual std::u16string DesktopFolder(intptr_t ownerWindow) = 0;

    // The product name of the running program, from its own version data.
    virtual std::u16string ProductName() = 0;
};

} // namespace relingo
