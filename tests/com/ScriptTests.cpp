// Both controls through late binding from the system's VBScript (cscript), as a script's author
// uses them: every property and method, real files, the errors a script sees as Err.Number, and
// the open dialog answered from the test.
#include "tests/com/ComTestSupport.h"
#include "tests/win32support/FileDialogDriver.h"
#include "tests/win32support/Win32TestSupport.h"

#include <gtest/gtest.h>

namespace relingo::test {
namespace {

class ScriptTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(Regsvr32(L""), 0u); }
    static void TearDownTestSuite() { UnregisterEverywhere(); }
};

TEST_F(ScriptTest, NewControlsHaveTheirDefaults) {
    EXPECT_EQ(Lines(RunScript(L"Defaults.vbs", {}).output),
              (std::vector<std::string>{"Text=",
                                        "Value=",
                                        "DefaultValue=",
                                        "KeyName=",
                                        "SectionName=",
                                        "mode=0",
                                        "MessageShow=True",
                                        "ValidateAtLostFocus=True",
                                        "Enabled=True",
                                        "IMEMode=0",
                                        "MaxLength=0",
                                        "SelStart=0",
                                        "SelLength=0",
                                        "SelText=",
                                        "FileName=",
                                        "FilePath=",
                                        "FileTitle=",
                                        "FileBody=",
                                        "FilePathBody=",
                                        "FileExtension=",
                                        "FileDrive=",
                                        "IsFile=False",
                                        "IsFolder=False",
                                        "ShortFileName=",
                                        "LongFileName=",
                                        "BackColor=80000005",
                                        "ForeColor=80000008",
                                        "Font has a name=True",
                                        "ValidateValue=True",
                                        "Cancel=False",
                                        "dialog.CancelError=False",
                                        "dialog.CancelSelected=False",
                                        "dialog.DefaultExt=",
                                        "dialog.DialogTitle=",
                                        "dialog.FileName=",
                                        "dialog.FileTitle=",
                                        "dialog.Filter=All Files(*.*)|*.*",
                                        "dialog.FilterIndex=0",
                                        "dialog.Flags=4096",
                                        "dialog.hDC=0",
                                        "dialog.hParentwnd=0",
                                        "dialog.InitDir=",
                                        "dialog.MaxFileSize=260"}));
}

TEST_F(ScriptTest, NamePartsOfRealFilesAndFolders) {
    TempFolder folder;
    const std::wstring file = folder.AddFile(L"Data.Old\\Archive.tar.gz");
    const std::wstring parent = folder / L"Data.Old";
    std::wstring lower = file;
    for (auto& c : lower) {
        c = static_cast<wchar_t>(::towlower(c));
    }
    const std::string f = Utf8(file);
    const std::string p = Utf8(parent);
    const std::string drive = f.substr(0, 1);
    const auto run = RunScript(L"NameParts.vbs", {L"3", file, parent, lower});
    const auto lines = Lines(run.output);
    ASSERT_EQ(lines.size(), 9u) << run.output;
    EXPECT_EQ(lines[0], "[" + f + "|" + p + "|\\Archive.tar.gz|\\Archive.tar|" +
                            f.substr(0, f.size() - 3) + "|gz|" + drive + "|True|False|True|False]");
    EXPECT_EQ(lines[1], "long=" + f);
    EXPECT_EQ(lines[2], "short is shorter=True");
    EXPECT_EQ(lines[3], "[" + p + "|" + Utf8(folder.Path()) + "|\\Data.Old|\\Data|" +
                            p.substr(0, p.size() - 4) + "|Old|" + drive +
                            "|False|True|True|False]");
    // A name typed in another case comes back in its stored case; the drive keeps the typed one.
    EXPECT_EQ(lines[7], "long=" + Utf8(lower).substr(0, 2) + f.substr(2));
}

TEST_F(ScriptTest, ARefusedNameGivesEmptyPartsAndNoBoxWithMessageShowFalse) {
    TempFolder folder;
    const std::wstring missing = folder / L"missing.txt";
    // A box would hold the script until the time limit: the run ends, and ends well, without one.
    const auto run = RunScript(L"NameParts.vbs", {L"1", missing, L"C:\\a*b.txt", folder.Path()});
    const auto lines = Lines(run.output);
    ASSERT_EQ(run.exitCode, 0u);
    ASSERT_EQ(lines.size(), 9u) << run.output;
    const std::string drive = Utf8(missing).substr(0, 1);
    EXPECT_EQ(lines[0], "[||||||" + drive + "|False|False|False|True]");
    EXPECT_EQ(lines[1], "long=");
    EXPECT_EQ(lines[3], "[||||||C|False|False|False|True]");
    EXPECT_EQ(lines[6], "[||||||" + drive + "|False|True|False|True]"); // a folder, mode 1
}

TEST_F(ScriptTest, EveryMemberDoesWhatItSays) {
    EXPECT_EQ(
        Lines(RunScript(L"Members.vbs", {}).output),
        (std::vector<std::string>{
            "Value=C:\\second Text=C:\\second", "Restore=C:\\first", "RestoreDefault=[]",
            "Sel=3,2,ab", "SelText=C:\\XYcdef", "Cls=[]",
            "Key|Section|12|3|False|False|False|3|FF|80000012", "Font size=12 same object=True",
            "True|True|txt|Pick|C:\\a.txt|Text (*.txt)|*.txt|2|1004|1234|C:\\|100"}));
}

TEST_F(ScriptTest, RefusedCallsGiveTheirErrorNumbers) {
    EXPECT_EQ(Lines(RunScript(L"Errors.vbs", {}).output),
              (std::vector<std::string>{
                  "IMEMode=70000 6 Overflow",
                  "DefaultValue at run time 382 Set not supported at run time",
                  "MaxLength=twelve 13 Type mismatch", "mode=\"2\" 0 ", "mode now 2",
                  "Enabled=text 13 Type mismatch", "Font=a FilOpDlg 13 Type mismatch",
                  "Flags=1E+20 6 Overflow",
                  "ShowOpen with a name longer than the buffer 5 Invalid procedure call or "
                  "argument",
                  "IMEMode still 0"}));
}

TEST_F(ScriptTest, TheDialogsCancelledAndAnsweredFromTheTest) {
    TempFolder folder;
    const std::wstring file = folder.AddFile(L"chosen.txt");
    const std::wstring saved = folder / L"saved.txt";
    std::vector<SeenFileDialog> seen;
    const auto run = RunScript(L"Dialog.vbs", {}, [&](DWORD process) {
        seen.push_back(FileDialogDriver(std::nullopt, IDCANCEL, process).Seen());
        seen.push_back(FileDialogDriver(file, IDOK, process).Seen());
        seen.push_back(FileDialogDriver(std::nullopt, IDCANCEL, process).Seen());
        seen.push_back(FileDialogDriver(saved, IDOK, process).Seen());
    });
    for (const auto& dialog : seen) {
        EXPECT_TRUE(dialog.found);
    }
    EXPECT_EQ(Lines(run.output),
              (std::vector<std::string>{"cancel 32755 [Cancel was selected ] True",
                                        "chosen 0 " + Utf8(file) + " chosen.txt False",
                                        "GetFileName 0 [] True chosen.txt",
                                        "saved 0 " + Utf8(saved) + " saved.txt"}));
}

} // namespace
} // namespace relingo::test
