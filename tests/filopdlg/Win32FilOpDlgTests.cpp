// The file dialog control over the real Open and Save As dialogs, driven as a user would drive
// them.
#include "filopdlg/FilOpDlg.h"

#include "platform/Error.h"
#include "platform/WindowHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32CommonDialogs.h"
#include "platform/win32/Win32System.h"
#include "tests/fakes/FakeHost.h"
#include "tests/win32support/FileDialogDriver.h"
#include "tests/win32support/Win32TestSupport.h"

#include <gtest/gtest.h>

#include <commdlg.h>

#include <functional>
#include <string>

namespace relingo::test {
namespace {

using namespace std::string_literals;
using win32::FromWide;

Error ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "no error was raised";
    return Error(0, u"");
}

// CoInitializeEx failing as many times as asked, then the real one.
int comFailuresLeft = 0;
HRESULT WINAPI FailingCoInitialize(LPVOID reserved, DWORD model) {
    if (comFailuresLeft > 0) {
        --comFailuresLeft;
        return E_OUTOFMEMORY;
    }
    return ::CoInitializeEx(reserved, model);
}

class Win32FilOpDlgTest : public ::testing::Test {
protected:
    void SetUp() override { dlg.InitProperties(); }

    win32::Win32System system;
    win32::Win32CommonDialogs dialogs;
    FakeHost host;
    FilOpDlg dlg{system, dialogs, host};
    TempFolder folder;
};

TEST_F(Win32FilOpDlgTest, ShowOpenReturnsTheTypedFileAndItsTitle) {
    const std::wstring file = folder.AddFile(L"chosen.txt");
    dlg.SetCancelSelected(true);
    FileDialogDriver driver(file, IDOK);
    dlg.ShowOpen();
    const SeenFileDialog seen = driver.Seen();
    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(seen.closedByButton);
    EXPECT_EQ(seen.filters, (std::vector<std::wstring>{L"All Files(*.*)"}));
    EXPECT_EQ(dlg.FileName(), FromWide(file));
    EXPECT_EQ(dlg.FileTitle(), u"chosen.txt");
    EXPECT_FALSE(dlg.CancelSelected());
}

TEST_F(Win32FilOpDlgTest, GetFileNameReturnsTheChoiceAndChangesNoProperty) {
    const std::wstring file = folder.AddFile(L"other.txt");
    dlg.SetFileName(u"C:\\before.txt");
    FileDialogDriver driver(file, IDOK);
    const std::u16string chosen = dlg.GetFileName();
    ASSERT_TRUE(driver.Seen().found);
    EXPECT_EQ(chosen, FromWide(file));
    EXPECT_EQ(dlg.FileName(), u"C:\\before.txt");
    EXPECT_EQ(dlg.FileTitle(), u"");
}

// The dialog enters COM when first shown. When Windows cannot start COM, the dialog is not shown,
// the error says what needed it, nothing changes, and the next try starts COM and shows it.
TEST_F(Win32FilOpDlgTest, WithoutComTheDialogIsAClearErrorAndTheNextTryWorks) {
    comFailuresLeft = 1;
    win32::Win32CommonDialogs comless(FailingCoInitialize);
    FilOpDlg first{system, comless, host};
    first.InitProperties();
    first.SetFileName(u"kept.txt");
    const Error error = ErrorOf([&] { first.ShowOpen(); });
    EXPECT_EQ(error.Number(), 429);
    EXPECT_EQ(error.Description(), u"The file dialog needs COM, which Windows could not start.");
    EXPECT_EQ(first.FileName(), u"kept.txt");

    const std::wstring file = folder.AddFile(L"later.txt");
    FileDialogDriver driver(file, IDOK);
    first.ShowOpen();
    ASSERT_TRUE(driver.Seen().found);
    EXPECT_EQ(first.FileName(), FromWide(file));
}

TEST_F(Win32FilOpDlgTest, CancelRaises32755WhenCancelErrorIsTrue) {
    dlg.SetCancelError(true);
    dlg.SetFileName(u"kept.txt");
    FileDialogDriver driver(std::nullopt, IDCANCEL);
    const Error error = ErrorOf([&] { dlg.ShowOpen(); });
    ASSERT_TRUE(driver.Seen().found);
    EXPECT_EQ(error.Number(), 32755);
    EXPECT_EQ(error.Description(), u"Cancel was selected ");
    EXPECT_TRUE(dlg.CancelSelected());
    EXPECT_EQ(dlg.FileName(), u"kept.txt");
}

TEST_F(Win32FilOpDlgTest, ANameLongerThanTheBufferIsTheDialogsFailure) {
    const std::wstring file = folder.AddFile(L"a-name-longer-than-eleven-bytes.txt");
    dlg.SetMaxFileSize(5);
    FileDialogDriver driver(file, IDOK);
    const Error error = ErrorOf([&] { dlg.ShowOpen(); });
    ASSERT_TRUE(driver.Seen().found);
    EXPECT_EQ(error.Number(), 12291);
    EXPECT_EQ(error.Description(), u"CommonDialog API error.(CommDlgExtendedError()=12291)");
    EXPECT_FALSE(dlg.CancelSelected());
    EXPECT_EQ(dlg.FileName(), u"");
}

TEST_F(Win32FilOpDlgTest, SeveralChosenFilesComeBackAsFolderAndNames) {
    folder.AddFile(L"a.ini");
    folder.AddFile(L"b.ini");
    dlg.SetInitDir(FromWide(folder.Path()));
    dlg.SetFlags(OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST);
    FileDialogDriver driver(L"\"a.ini\" \"b.ini\"", IDOK);
    dlg.ShowOpen();
    ASSERT_TRUE(driver.Seen().found);
    EXPECT_EQ(dlg.FileName(), FromWide(folder.Path()) + u"\0a.ini\0b.ini"s);
}

TEST_F(Win32FilOpDlgTest, ShowSaveRunsSaveAsAndAddsTheDefaultExtension) {
    dlg.SetFlags(0);
    dlg.SetDefaultExt(u"txt");
    FileDialogDriver driver(folder / L"report", IDOK);
    dlg.ShowSave();
    const SeenFileDialog seen = driver.Seen();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.caption, L"Save As");
    EXPECT_EQ(dlg.FileName(), FromWide(folder / L"report.txt"));
    EXPECT_EQ(dlg.FileTitle(), u"report.txt");
}

// A plain top-level window to own the dialog.
class OwnerWindow {
public:
    OwnerWindow()
        : window_(::CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                    nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr)) {}
    ~OwnerWindow() { ::DestroyWindow(window_); }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND Get() const { return window_; }

private:
    HWND window_;
};

TEST_F(Win32FilOpDlgTest, OwnerCaptionAndFilterListReachTheDialog) {
    OwnerWindow owner;
    ASSERT_NE(owner.Get(), nullptr);
    dlg.SethParentwnd(WindowHandleToLong(reinterpret_cast<intptr_t>(owner.Get())));
    dlg.SetDialogTitle(u"Pick the program");
    dlg.SetFilter(u"Text files|*.txt|All files|*.*");
    dlg.SetFilterIndex(2);
    FileDialogDriver driver(std::nullopt, IDCANCEL);
    dlg.ShowOpen();
    const SeenFileDialog seen = driver.Seen();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.caption, L"Pick the program");
    EXPECT_EQ(seen.owner, owner.Get());
    EXPECT_EQ(seen.filters, (std::vector<std::wstring>{L"Text files", L"All files"}));
    EXPECT_EQ(seen.selectedFilter, 1);
    EXPECT_EQ(dlg.FilterIndex(), 2);
    EXPECT_TRUE(dlg.CancelSelected());
}

TEST(Win32CommonDialogsTest, TheRecordSizeIsTheOneWithoutExtensionFields) {
    win32::Win32CommonDialogs dialogs;
    EXPECT_EQ(dialogs.OpenFileNameSize(), OPENFILENAME_SIZE_VERSION_400A);
    EXPECT_LT(dialogs.OpenFileNameSize(), sizeof(OPENFILENAMEA));
}

} // namespace
} // namespace relingo::test
