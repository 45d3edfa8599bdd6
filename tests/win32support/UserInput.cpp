#include "tests/win32support/UserInput.h"

#include <vector>

namespace relingo::test {

namespace {

INPUT KeyInput(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

INPUT UnicodeInput(wchar_t character, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = character;
    input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

INPUT MouseInput(DWORD flags, POINT screen) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    // Absolute positions run from 0 to 65535 across the primary screen.
    input.mi.dx = ::MulDiv(screen.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = ::MulDiv(screen.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return input;
}

void Send(std::vector<INPUT> inputs) {
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ClickAt(POINT screen) {
    Send({MouseInput(MOUSEEVENTF_MOVE, screen), MouseInput(MOUSEEVENTF_LEFTDOWN, screen),
          MouseInput(MOUSEEVENTF_LEFTUP, screen)});
}

} // namespace

void TypeText(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t character : text) {
        inputs.push_back(UnicodeInput(character, false));
        inputs.push_back(UnicodeInput(character, true));
    }
    Send(std::move(inputs));
}

void PressKey(WORD key, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers) {
        inputs.push_back(KeyInput(modifier, false));
    }
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) {
        inputs.push_back(KeyInput(*it, true));
    }
    Send(std::move(inputs));
}

void PressAltKey(wchar_t key) {
    PressKey(static_cast<WORD>(::towupper(key)), {VK_MENU});
}

void ClickOn(HWND window) {
    RECT r = {};
    ::GetWindowRect(window, &r);
    ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void ClickOn(HWND window, POINT client) {
    ::ClientToScreen(window, &client);
    ClickAt(client);
}

void MoveMouseTo(HWND window, POINT client) {
    ::ClientToScreen(window, &client);
    Send({MouseInput(MOUSEEVENTF_MOVE, client)});
}

} // namespace relingo::test
