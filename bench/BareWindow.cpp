// The yardstick of the start-up benchmark: a program that does nothing but show one empty
// window and wait for input, built with the same flags as Relingo.exe. Whatever Relingo.exe
// takes beyond this is its own doing.
#include <windows.h>

#include "bench/BareWindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    if (!relingo::bench::RegisterQuitWhenDestroyedClass(instance, RELINGO_BARE_WINDOW_CLASS)) {
        return 1;
    }
    const HWND hwnd = ::CreateWindowExW(0, RELINGO_BARE_WINDOW_CLASS, L"Bare window",
                                        WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 480, 240,
                                        nullptr, nullptr, instance, nullptr);
    if (hwnd == nullptr) {
        return 1;
    }
    ::ShowWindow(hwnd, showCommand);
    ::UpdateWindow(hwnd);
    MSG message = {};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
