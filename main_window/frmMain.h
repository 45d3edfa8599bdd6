// The logic of Relingo's one window: restoring and saving the user's choices, the re-pack
// command, clearing, browsing and reporting errors. The Win32 view forwards its events here; the
// logic never sees a window handle except as the owner for the desktop lookup.
#pragma once

#include "filenamebox/FileNameBox.h"
#include "main_window/Controls.h"
#include "platform/Error.h"

#include <cstdint>
#include <string>

namespace relingo {

class SystemServices;

// The window's own messages. They exist in English only.
namespace frmMainText {
inline constexpr char16_t kWrongIpdk[] = u"Specify correct IPDK program name, PDWizloc.exe";
inline constexpr char16_t kNoProgram[] = u"Enter a VB program file name to be re-packed.";
inline constexpr char16_t kNotInSupport[] =
    u"The specified program is not in the \\Support folder.\r\nDo you continue ?";
} // namespace frmMainText

// The settings the window keeps between runs.
namespace frmMainSettings {
inline constexpr char16_t kLanguage[] = u"Language";
inline constexpr char16_t kFirst[] = u"First";
inline constexpr char16_t kSecond[] = u"Second";
inline constexpr char16_t kIpdk[] = u"IPDK";
inline constexpr char16_t kProgram[] = u"Program";
inline constexpr char16_t kVb[] = u"VB";
inline constexpr char16_t kRepackedProgram[] = u"RePacked Program";
} // namespace frmMainSettings

struct frmMainControls {
    FileNameBox& txtIPDK;
    FileNameBox& txtFileName;
    DropDownList& cmbFirst;
    DropDownList& cmbSecond;
    OpenFileDialog& dlgFileOpen;
};

class frmMain {
public:
    // windowHandle is the view's window, the owner of the desktop lookup (0 for none).
    frmMain(SystemServices& system, frmMainControls controls, intptr_t windowHandle = 0);

    // Each handler reports what fails through ReportError and returns normally, so that no
    // error ever leaves it and the window stays usable.
    void Form_Load();
    void Form_Unload();
    void cmdOK_Click();
    void cmdClear_Click();
    void cmdBrowse_Click(int16_t index);

    // The re-pack command line for a program file and the two language texts.
    static std::u16string CommandLine(const std::u16string& programFile,
                                      const std::u16string& firstLanguage,
                                      const std::u16string& secondLanguage);
    // The second-language argument: "*" for "(Default)", "~" for "(None)", else the text.
    static std::u16string SecondLanguageArgument(const std::u16string& text);
    // Whether a folder passes for the Support folder of a package.
    static bool IsSupportFolder(const std::u16string& folder);
    // The text before the first colon, or "".
    static std::u16string DrivePart(const std::u16string& path);

private:
    void RepackCommand();
    void Browse(int16_t index);
    void ChangeToDesktop();
    void MoveTo(const std::u16string& drive, const std::u16string& folder);
    void ReportError(const Error& error);
    template <typename Step>
    void ReportingErrors(Step step);

    void RestoreListIndex(DropDownList& list, const std::u16string& key);
    std::u16string DefaultIpdkPath();

    SystemServices& system_;
    frmMainControls controls_;
    intptr_t windowHandle_;
};

} // namespace relingo
