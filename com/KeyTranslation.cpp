#include "com/KeyTranslation.h"

#include <algorithm>
#include <array>

namespace relingo::com {

namespace {

constexpr std::array<WPARAM, 7> kEditingKeys = {VK_LEFT, VK_RIGHT, VK_UP,    VK_DOWN,
                                                VK_HOME, VK_END,   VK_DELETE};

bool IsKeyMessage(UINT message) {
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

} // namespace

// Alt with one of them is a system key (WM_SYSKEYDOWN): the form's, not the box's.
bool IsEditingKey(const MSG& message) {
    return (message.message == WM_KEYDOWN || message.message == WM_KEYUP) &&
           std::find(kEditingKeys.begin(), kEditingKeys.end(), message.wParam) !=
               kEditingKeys.end();
}

DWORD HeldKeyModifiers() {
    const auto held = [](int key) { return ::GetKeyState(key) < 0; };
    return (held(VK_SHIFT) ? kKeyModShift : 0U) | (held(VK_CONTROL) ? kKeyModControl : 0U) |
           (held(VK_MENU) ? kKeyModAlt : 0U);
}

HRESULT TranslateControlKey(const MSG& message, HWND editWindow, IOleControlSite* site) {
    if (!IsKeyMessage(message.message)) {
        return S_FALSE;
    }
    if (editWindow != nullptr && message.hwnd == editWindow && IsEditingKey(message)) {
        ::SendMessageW(message.hwnd, message.message, message.wParam, message.lParam);
        return S_OK;
    }
    if (site == nullptr) {
        return S_FALSE;
    }
    // The site may change what it is handed; the container keeps its own message.
    MSG copy = message;
    return site->TranslateAccelerator(&copy, HeldKeyModifiers()) == S_OK ? S_OK : S_FALSE;
}

} // namespace relingo::com
