// Real message boxes, read back and closed by a watcher thread.
#include "platform/win32/Win32System.h"
#include "tests/win32support/Win32TestSupport.h"

#include <gtest/gtest.h>

namespace relingo::win32 {
namespace {

using test::DialogWatcher;

TEST(Win32MessageBoxTest, ShowsTextAndCaptionAndReturnsThePressedButton) {
    Win32System win32;
    SystemServices& system = win32;
    DialogWatcher watcher(IDOK);
    const int32_t answer = system.MsgBox(u"ファイルまたはフォルダが存在しません", 16, u"警告!!");
    EXPECT_EQ(answer, IDOK);
    const auto seen = watcher.WaitFor(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"警告!!");
    EXPECT_EQ(seen[0].text, L"ファイルまたはフォルダが存在しません");
}

TEST(Win32MessageBoxTest, WithoutACaptionTheBoxShowsTheApplicationTitle) {
    Win32System win32;
    SystemServices& system = win32;
    DialogWatcher watcher(IDNO);
    const int32_t answer =
        system.MsgBox(u"The specified program is not in the \\Support folder.\r\nDo you continue ?",
                      308, std::nullopt);
    EXPECT_EQ(answer, IDNO);
    const auto seen = watcher.WaitFor(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"Relingo");
    EXPECT_EQ(seen[0].text,
              L"The specified program is not in the \\Support folder.\r\nDo you continue ?");
}

} // namespace
} // namespace relingo::win32
