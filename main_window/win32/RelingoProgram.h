// The whole program between its entry and its exit code: the services, the window and the
// message loop. The entry point calls it without a trace; the start-up benchmark with one.
#pragma once

#include <windows.h>

#include "main_window/win32/StartupTrace.h"

namespace relingo::win32 {

int RunRelingo(HINSTANCE instance, int showCommand, StartupTrace* trace = nullptr);

} // namespace relingo::win32
