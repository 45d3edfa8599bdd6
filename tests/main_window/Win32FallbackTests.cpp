// The window and its name boxes as Windows 7 runs them: the newer DPI functions reported absent,
// the DPI taken from the screen's device context. The same tests run in a prefix at 96 and in
// one at 144 dots per inch.
#include "main_window/win32/MainWindow.h"
#include "platform/win32/RunTimeFunctions.h"
#include "platform/win32/Win32CommonDialogs.h"
#include "platform/win32/Win32System.h"
#include "tests/main_window/DesignedLayout.h"

#include <objbase.h>

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace relingo::win32 {
namespace {

UINT ScreenDpi() {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

LOGFONTW FontOf(HWND window) {
    LOGFONTW font = {};
    const auto handle = reinterpret_cast<HGDIOBJ>(::SendMessageW(window, WM_GETFONT, 0, 0));
    ::GetObjectW(handle, sizeof font, &font);
    return font;
}

// The window's settings, as a first start finds them: none. A stored IPDK name that is gone would
// make the window's load show a box that nobody here answers.
void ForgetSettings() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(kSettingsRoot) + L"\\Relingo").c_str());
}

class WindowsSevenFallbackTest : public ::testing::Test {
protected:
    void SetUp() override {
        ForgetSettings();
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        dpi_ = ScreenDpi();
        // The run at another DPI says which, so that it cannot pass at 96 by mistake.
        if (const char* expected = std::getenv("RELINGO_EXPECTED_DPI")) {
            ASSERT_EQ(dpi_, static_cast<UINT>(std::atoi(expected)));
        }
        window_ = std::make_unique<MainWindow>(::GetModuleHandleW(nullptr), system_, dialogs_,
                                               DpiFunctions::Windows7());
        window_->Create(SW_SHOWNORMAL);
        DispatchWaiting();
    }
    void TearDown() override {
        window_.reset();
        DispatchWaiting();
        ::CoUninitialize();
        ForgetSettings();
    }
    static void DispatchWaiting() {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&message);
        }
    }

    HWND Control(int id) const { return ::GetDlgItem(window_->Handle(), id); }

    Win32System system_;
    Win32CommonDialogs dialogs_;
    UINT dpi_ = 0;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(WindowsSevenFallbackTest, TheFallbacksAnswerFromTheScreen) {
    const DpiFunctions& windows7 = DpiFunctions::Windows7();
    EXPECT_FALSE(windows7.PerWindow());
    EXPECT_EQ(windows7.ForSystem(), dpi_);
    EXPECT_EQ(windows7.ForWindow(window_->Handle()), dpi_);
    EXPECT_EQ(windows7.ForWindow(nullptr), dpi_);
    // Without AdjustWindowRectExForDpi the frame is the one AdjustWindowRectEx gives.
    const RECT client = {0, 0, 100, 50};
    RECT expected = client;
    ::AdjustWindowRectEx(&expected, WS_OVERLAPPED | WS_CAPTION, FALSE, 0);
    const RECT frame = windows7.WindowRectFor(client, WS_OVERLAPPED | WS_CAPTION, 0, dpi_);
    EXPECT_TRUE(::EqualRect(&frame, &expected));
}

TEST_F(WindowsSevenFallbackTest, ControlsSitAtTheirDesignedPlacesAtTheScreensDpi) {
    test::ExpectDesignedPlaces(window_->Handle(), dpi_);
}

// The window's own controls use the 8-point dialog font; the name boxes their designed 9-point
// Japanese font. Both are made for the screen's DPI.
TEST_F(WindowsSevenFallbackTest, FontsAreMadeForTheScreensDpi) {
    const int windowFont = -::MulDiv(8, static_cast<int>(dpi_), 72);
    for (const int id : {IDC_LABEL1, IDC_CMDOK, IDC_CMBFIRST}) {
        EXPECT_EQ(FontOf(Control(id)).lfHeight, windowFont) << id;
    }
    const int boxFont = -static_cast<int>(std::lround(9.0 * dpi_ / 72));
    for (const int id : {IDC_TXTIPDK, IDC_TXTFILENAME}) {
        const HWND edit = ::GetWindow(Control(id), GW_CHILD);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(FontOf(edit).lfHeight, boxFont) << id;
    }
}

// Windows 8.1 and the first Windows 10 tell the window its new DPI with WM_DPICHANGED, but have
// no GetDpiForWindow: the window hands the message's DPI down, and every control's font follows.
TEST_F(WindowsSevenFallbackTest, TheDpiOfWmDpiChangedReachesEveryFont) {
    for (const UINT dpi : {144U, 96U, dpi_}) {
        SCOPED_TRACE(dpi);
        RECT suggested = {};
        ::GetWindowRect(window_->Handle(), &suggested);
        ::SendMessageW(window_->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(FontOf(Control(IDC_CMDOK)).lfHeight, -::MulDiv(8, static_cast<int>(dpi), 72));
        for (const int id : {IDC_TXTIPDK, IDC_TXTFILENAME}) {
            EXPECT_EQ(FontOf(::GetWindow(Control(id), GW_CHILD)).lfHeight,
                      -static_cast<int>(std::lround(9.0 * dpi / 72)))
                << id;
        }
    }
}

} // namespace
} // namespace relingo::win32
