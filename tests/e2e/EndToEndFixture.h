// What the end-to-end tests share: fresh settings, the stand-in IPDK program where the window
// looks for it by default, a program to re-pack, and the settings and records to read back.
#pragma once

#include "main_window/win32/resource.h"
#include "platform/win32/RunTimeFunctions.h"
#include "tests/e2e/RelingoDriver.h"
#include "tests/win32support/Win32TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace relingo::test {

inline constexpr wchar_t kSettingsKey[] = L"Software\\VB and VBA Program Settings\\Relingo";
inline constexpr wchar_t kRecord[] = L"\\PDWizLoc received.txt";

inline std::optional<std::wstring> ReadSetting(const wchar_t* section, const wchar_t* key) {
    const std::wstring path = std::wstring(kSettingsKey) + L"\\" + section;
    wchar_t value[1024] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), key, RRF_RT_REG_SZ, nullptr, value,
                       &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(value);
}

inline void WriteSetting(const wchar_t* section, const wchar_t* key, const std::wstring& value) {
    const std::wstring path = std::wstring(kSettingsKey) + L"\\" + section;
    ::RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), key, REG_SZ, value.c_str(),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

inline std::wstring SystemDrive() {
    wchar_t folder[MAX_PATH] = {};
    ::GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder, 1);
}

class RelingoEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        // The stand-in sits where the window looks for the IPDK program by default.
        ipdkFolder = SystemDrive() + L":\\IPDK";
        ipdkProgram = ipdkFolder + L"\\PDWizLoc.exe";
        ::CreateDirectoryW(ipdkFolder.c_str(), nullptr);
        ASSERT_TRUE(::CopyFileW((ProgramFolder() + L"\\IpdkStandIn.exe").c_str(),
                                ipdkProgram.c_str(), FALSE));
        ::DeleteFileW((ipdkFolder + kRecord).c_str());
        program = temp.AddFile(L"Package\\Support\\Sample App.exe");
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey); }

    // Starts Relingo and waits for its window.
    std::unique_ptr<RelingoDriver> Start() {
        auto relingo = std::make_unique<RelingoDriver>();
        EXPECT_TRUE(relingo->WaitForWindow());
        return relingo;
    }

    // The next box, checked for its caption and text, then answered.
    void ExpectBox(RelingoDriver& relingo, const std::wstring& caption, const std::wstring& text,
                   int answer = IDOK) {
        const auto box = relingo.WaitForBox();
        ASSERT_TRUE(box) << "no box: " << Utf8(text);
        EXPECT_EQ(box->caption, caption);
        EXPECT_EQ(box->text, text);
        EXPECT_TRUE(relingo.Answer(*box, answer));
    }

    TempFolder temp;
    std::wstring ipdkFolder;
    std::wstring ipdkProgram;
    std::wstring program;
};

} // namespace relingo::test
