#include "platform/win32/Window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace relingo::win32 {
namespace {

constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kAnswer = WM_APP + 2;

class ProbeWindow : public Window<ProbeWindow> {
public:
    explicit ProbeWindow(std::vector<UINT>& seen) : seen_(seen) {
        WNDCLASSEXW windowClass = {};
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"Relingo.Test.ProbeWindow";
        RegisterClassOnce(windowClass);
        CreateHandle(0, windowClass.lpszClassName, L"probe", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                     nullptr, windowClass.hInstance, u"no probe window");
    }

private:
    friend class Window<ProbeWindow>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        seen_.push_back(message);
        if (message == kThrow) {
            throw std::runtime_error("a failing handler");
        }
        if (message == kAnswer) {
            return 42;
        }
        return Default(message, wParam, lParam);
    }

    std::vector<UINT>& seen_;
};

bool Saw(const std::vector<UINT>& seen, UINT message) {
    return std::find(seen.begin(), seen.end(), message) != seen.end();
}

TEST(WindowTest, MessagesReachTheObjectFromTheFirstOn) {
    std::vector<UINT> seen;
    ProbeWindow window(seen);
    ASSERT_NE(window.Handle(), nullptr);
    ASSERT_FALSE(seen.empty());
    // WM_GETMINMAXINFO comes before WM_NCCREATE and goes to the default procedure.
    EXPECT_EQ(seen.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(::SendMessageW(window.Handle(), kAnswer, 0, 0), 42);
}

TEST(WindowTest, AFailingHandlerDoesNotCrossTheSystemsFrames) {
    std::vector<UINT> seen;
    ProbeWindow window(seen);
    EXPECT_EQ(::SendMessageW(window.Handle(), kThrow, 0, 0), 0);
    EXPECT_TRUE(Saw(seen, kThrow));
    EXPECT_EQ(::SendMessageW(window.Handle(), kAnswer, 0, 0), 42); // and it still answers
}

TEST(WindowTest, TheHandleIsForgottenWhenTheWindowGoes) {
    std::vector<UINT> seen;
    ProbeWindow window(seen);
    const HWND hwnd = window.Handle();
    ::DestroyWindow(hwnd);
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_EQ(seen.back(), static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(::GetWindowLongPtrW(hwnd, GWLP_USERDATA), 0);
}

TEST(WindowTest, AnObjectThatGoesFirstTakesItsWindowWithItUnseen) {
    std::vector<UINT> seen;
    HWND hwnd = nullptr;
    {
        ProbeWindow window(seen);
        hwnd = window.Handle();
        seen.clear();
    }
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_TRUE(seen.empty());
}

} // namespace
} // namespace relingo::win32
