#include "main_window/frmMain.h"

#include "main_window/modWinAPI.h"
#include "platform/SystemServices.h"
#include "platform/Text.h"

#include <new>
#include <optional>

namespace relingo {

namespace {

namespace key = frmMainSettings;

constexpr char16_t kIpdkTitle[] = u"\\PDWIZLOC.EXE";
constexpr char16_t kSupportWord[] = u"SUPPORT";
constexpr size_t kSupportMinimumLength = 10;
constexpr char16_t kIpdkDefaultTail[] = u":\\IPDK\\PDWizLoc.exe";
constexpr char16_t kErrorCaption[] = u"Error";

// Turns whatever a step throws into the error the report shows.
template <typename Step>
std::optional<Error> Attempt(Step step) {
    try {
        step();
    } catch (const Error& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return Error(errnum::kOutOfMemory);
    } catch (const std::exception&) {
        return Error(errnum::kInternalError);
    }
    return std::nullopt;
}

// Runs independent steps, each to its end whatever the others did, and keeps the first error,
// so that load and unload do all they can and the user hears of a failure once.
class Steps {
public:
    template <typename Step>
    void Run(Step step) {
        auto error = Attempt(step);
        if (error && !first_) {
            first_ = std::move(error);
        }
    }
    const std::optional<Error>& FirstError() const { return first_; }

private:
    std::optional<Error> first_;
};

} // namespace

frmMain::frmMain(SystemServices& system, frmMainControls controls, intptr_t windowHandle)
    : system_(system), controls_(controls), windowHandle_(windowHandle) {}

// ---- helpers ----

std::u16string frmMain::DrivePart(const std::u16string& path) {
    return TextBeforeFirstColon(path);
}

bool frmMain::IsSupportFolder(const std::u16string& folder) {
    constexpr size_t wordLength = std::char_traits<char16_t>::length(kSupportWord);
    return folder.size() >= kSupportMinimumLength &&
           AsciiUpper(folder.substr(folder.size() - wordLength)) == kSupportWord;
}

std::u16string frmMain::SecondLanguageArgument(const std::u16string& text) {
    const std::u16string key = TrimSpaces(AsciiUpper(text));
    if (key == u"(DEFAULT)") {
        return u"*";
    }
    if (key == u"(NONE)") {
        return u"~";
    }
    return text;
}

std::u16string frmMain::CommandLine(const std::u16string& programFile,
                                    const std::u16string& firstLanguage,
                                    const std::u16string& secondLanguage) {
    return u"PDWIZLOC \"" + programFile + u"\" " + firstLanguage + u" " + secondLanguage;
}

void frmMain::ReportError(const Error& error) {
    if (error.Number() == 0 || error.Number() == errnum::kDialogCancelled) {
        return;
    }
    const std::u16string text = u"Error No. : " + ToDecimal(error.Number()) + u"\rSource : " +
                                error.Source() + u"\r" + error.Description();
    // The report is the end of every error path; a box that cannot be shown leaves nothing
    // more to try.
    Attempt([&] {
        system_.MsgBox(text, mb::kIconStop, std::u16string(kErrorCaption), error.HelpFile(),
                       error.HelpContext());
    });
}

template <typename Step>
void frmMain::ReportingErrors(Step step) {
    if (auto error = Attempt(step)) {
        ReportError(*error);
    }
}

void frmMain::MoveTo(const std::u16string& drive, const std::u16string& folder) {
    system_.ChangeDrive(drive);
    // "X:" alone would enter the folder last current on that drive, not its root.
    const bool bareDrive = folder.size() == 2 && HasDriveLetter(folder);
    system_.ChangeDirectory(bareDrive ? folder + u"\\" : folder);
}

void frmMain::ChangeToDesktop() {
    const std::u16string desktop = modWinAPI::GetDesktopFolder(system_, windowHandle_);
    if (desktop.empty()) {
        throw Error(errnum::kPathNotFound,
                    u"Path not found: Windows did not tell where the desktop folder is.");
    }
    // A desktop on a network share has no drive letter to make current.
    MoveTo(HasDriveLetter(desktop) ? desktop.substr(0, 1) : std::u16string(), desktop);
}

// ---- load and unload ----

void frmMain::RestoreListIndex(DropDownList& list, const std::u16string& keyName) {
    int16_t index = 0;
    const auto stored = Attempt([&] {
        const std::u16string text =
            system_.GetSetting(system_.ProductName(), key::kLanguage, keyName, u"0");
        // Anything but a whole number naming an item, or -1 for none, falls back to the first
        // item: nothing stored may keep the window from starting.
        const auto number = ParseWholeNumber(text);
        if (number && *number >= -1 && *number < list.ListCount()) {
            index = static_cast<int16_t>(*number);
        }
    });
    list.SetListIndex(index);
    if (stored) {
        throw *stored;
    }
}

std::u16string frmMain::DefaultIpdkPath() {
    return DrivePart(modWinAPI::GetSystemFolder(system_)) + kIpdkDefaultTail;
}

void frmMain::Form_Load() {
    Steps steps;
    steps.Run([&] { RestoreListIndex(controls_.cmbFirst, key::kFirst); });
    steps.Run([&] { RestoreListIndex(controls_.cmbSecond, key::kSecond); });
    steps.Run([&] {
        controls_.txtIPDK.SetText(
            system_.GetSetting(system_.ProductName(), key::kIpdk, key::kProgram, u""));
    });
    steps.Run([&] {
        controls_.txtFileName.SetText(
            system_.GetSetting(system_.ProductName(), key::kVb, key::kRepackedProgram, u""));
    });
    steps.Run([&] {
        if (controls_.txtIPDK.FileName().empty()) {
            controls_.txtIPDK.SetText(DefaultIpdkPath());
        }
    });
    if (steps.FirstError()) {
        ReportError(*steps.FirstError());
    }
}

void frmMain::Form_Unload() {
    Steps steps;
    steps.Run([&] {
        system_.SaveSetting(system_.ProductName(), key::kLanguage, key::kFirst,
                            ToDecimal(controls_.cmbFirst.ListIndex()));
    });
    steps.Run([&] {
        system_.SaveSetting(system_.ProductName(), key::kLanguage, key::kSecond,
                            ToDecimal(controls_.cmbSecond.ListIndex()));
    });
    steps.Run([&] {
        system_.SaveSetting(system_.ProductName(), key::kIpdk, key::kProgram,
                            controls_.txtIPDK.FileName());
    });
    steps.Run([&] {
        system_.SaveSetting(system_.ProductName(), key::kVb, key::kRepackedProgram,
                            controls_.txtFileName.FileName());
    });
    if (steps.FirstError()) {
        ReportError(*steps.FirstError());
    }
}

// ---- commands ----

void frmMain::cmdClear_Click() {
    ReportingErrors([&] { controls_.txtFileName.SetText(u""); });
}

void frmMain::cmdOK_Click() {
    ReportingErrors([&] { RepackCommand(); });
}

void frmMain::RepackCommand() {
    if (AsciiUpper(controls_.txtIPDK.FileTitle()) != kIpdkTitle) {
        system_.MsgBox(frmMainText::kWrongIpdk, mb::kIconExclamation);
        return;
    }
    if (controls_.txtFileName.FileName().empty()) {
        system_.MsgBox(frmMainText::kNoProgram, mb::kIconExclamation);
        return;
    }
    if (!IsSupportFolder(controls_.txtFileName.FilePath())) {
        const int32_t answer = system_.MsgBox(
            frmMainText::kNotInSupport, mb::kYesNo | mb::kIconExclamation | mb::kDefaultButton2);
        if (answer == mb::kAnswerNo) {
            return;
        }
    }
    const std::u16string firstLanguage = controls_.cmbFirst.Text();
    const std::u16string secondLanguage = SecondLanguageArgument(controls_.cmbSecond.Text());
    MoveTo(controls_.txtIPDK.FileDrive(), controls_.txtIPDK.FilePath());
    system_.StartProgram(
        CommandLine(controls_.txtFileName.FileName(), firstLanguage, secondLanguage), kNormalFocus);
}

void frmMain::cmdBrowse_Click(int16_t index) {
    ReportingErrors([&] { Browse(index); });
}

void frmMain::Browse(int16_t index) {
    if (index != 0 && index != 1) {
        throw Error(errnum::kInvalidProcedureCall);
    }
    FileNameBox& box = index == 0 ? controls_.txtIPDK : controls_.txtFileName;
    controls_.dlgFileOpen.SetCancelError(true);
    if (box.FileName().empty()) {
        ChangeToDesktop();
    }
    controls_.dlgFileOpen.SetFileName(box.FileName());
    controls_.dlgFileOpen.ShowOpen();
    const std::u16string chosen = controls_.dlgFileOpen.FileName();
    if (!chosen.empty()) {
        box.SetText(chosen);
    }
}

} // namespace relingo
