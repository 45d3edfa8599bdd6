// Relingo's entry point.
#include <windows.h>

#include "main_window/win32/RelingoProgram.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    return relingo::win32::RunRelingo(instance, showCommand);
}
