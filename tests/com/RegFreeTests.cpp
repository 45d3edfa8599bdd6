// A program whose manifest names the controls' assembly uses them with nothing registered.
#include "tests/com/ComTestSupport.h"
#include "tests/win32support/Win32TestSupport.h"

#include <gtest/gtest.h>

namespace relingo::test {
namespace {

TEST(RegistrationFreeTest, AProgramWhoseManifestNamesTheControlsUsesThemUnregistered) {
    UnregisterEverywhere();
    const struct {
        const char* what;
        bool withAssembly;
        DWORD exitCode;
        std::vector<std::string> output;
    } cases[] = {
        {"with the assembly beside it",
         true,
         0,
         {"Relingo.FileNameBox.FileDrive=C", "Relingo.FilOpDlg.Filter=Programs|*.exe"}},
        {"without it", false, 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        ASSERT_TRUE(::CopyFileW(BesideTests(L"RegFreeHost.exe").c_str(),
                                (folder / L"RegFreeHost.exe").c_str(), FALSE));
        ASSERT_TRUE(
            ::CopyFileW(ServerPath().c_str(), (folder / L"RelingoControls.ocx").c_str(), FALSE));
        if (c.withAssembly) {
            ASSERT_TRUE(::CopyFileW(ServerManifestPath().c_str(),
                                    (folder / L"RelingoControls.manifest").c_str(), FALSE));
        }
        const auto run = RunProgram(L"\"" + (folder / L"RegFreeHost.exe") + L"\"");
        EXPECT_EQ(run.exitCode == 0, c.exitCode == 0) << run.output;
        if (c.exitCode == 0) {
            EXPECT_EQ(Lines(run.output), c.output);
        }
    }
}

} // namespace
} // namespace relingo::test
