// What the start-up benchmark needs to know of the programs it measures Relingo.exe against, and
// what those programs share.
#pragma once

#include <windows.h>

// The class of the bare program's one window, which the benchmark waits to see shown.
#define RELINGO_BARE_WINDOW_CLASS L"RelingoBareWindow"

// The class of the window of PlainControls.exe, the same controls made the plain way.
#define RELINGO_PLAIN_CONTROLS_CLASS L"RelingoPlainControls"

namespace relingo::bench {

// The window procedure of both: the program ends when its window is closed.
inline LRESULT CALLBACK QuitWhenDestroyed(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// Registers the class of such a window, in the dialog colour as Relingo's.
inline bool RegisterQuitWhenDestroyedClass(HINSTANCE instance, const wchar_t* className) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = QuitWhenDestroyed;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    return ::RegisterClassExW(&windowClass) != 0;
}

} // namespace relingo::bench
