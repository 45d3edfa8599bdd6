// The control's icon, FilOpDlg.ico, as Windows loads it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace relingo::test {
namespace {

// The icon is copied beside the test program when it is built.
std::wstring IconPath() {
    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring path = program;
    return path.substr(0, path.rfind(L'\\') + 1) + L"FilOpDlg.ico";
}

uint16_t Word(const std::vector<unsigned char>& bytes, size_t at) {
    return static_cast<uint16_t>(bytes.at(at) | bytes.at(at + 1) << 8);
}

TEST(FilOpDlgIconTest, IsOne32By32ImageIn16Colours) {
    std::ifstream file(std::filesystem::path(IconPath()), std::ios::binary);
    ASSERT_TRUE(file) << "icon missing beside the test program";
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_GE(bytes.size(), 22u);
    EXPECT_EQ(Word(bytes, 0), 0);  // reserved
    EXPECT_EQ(Word(bytes, 2), 1);  // an icon
    EXPECT_EQ(Word(bytes, 4), 1);  // one image
    EXPECT_EQ(bytes[6], 32);       // width
    EXPECT_EQ(bytes[7], 32);       // height
    EXPECT_EQ(bytes[8], 16);       // colours
    EXPECT_EQ(Word(bytes, 12), 4); // bits a pixel
}

TEST(FilOpDlgIconTest, WindowsLoadsItAt32By32Pixels) {
    HICON icon = static_cast<HICON>(
        ::LoadImageW(nullptr, IconPath().c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(icon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(icon, &info));
    BITMAP mask = {};
    ::GetObjectW(info.hbmMask, sizeof mask, &mask);
    BITMAP colour = {};
    ::GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    ::DeleteObject(info.hbmMask);
    ::DeleteObject(info.hbmColor);
    ::DestroyIcon(icon);
}

} // namespace
} // namespace relingo::test
