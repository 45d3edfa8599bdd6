// Input as a person makes it: key strokes and mouse clicks sent with SendInput, so that they
// reach the foreground window through the system, its focus and its dialog manager.
#pragma once

#include <windows.h>

#include <string>

namespace relingo::test {

// Types each character as a Unicode key stroke, as an input method or on-screen keyboard does.
void TypeText(const std::wstring& text);
// Presses and releases a key, with the modifier keys (VK_SHIFT, VK_MENU, VK_CONTROL) held.
void PressKey(WORD key, std::initializer_list<WORD> modifiers = {});
// Alt with a letter or digit: an access key.
void PressAltKey(wchar_t key);
// A left click in the middle of a window.
void ClickOn(HWND window);
// A left click at a point of a window's client area. Two clicks at one point in quick succession
// are a double click.
void ClickOn(HWND window, POINT client);
// Moves the mouse to a point of a window's client area.
void MoveMouseTo(HWND window, POINT client);

} // namespace relingo::test
