#include "main_window/win32/RelingoProgram.h"

#include <commctrl.h>

#include "main_window/win32/MainWindow.h"
#include "platform/Error.h"
#include "platform/win32/RunTimeFunctions.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32CommonDialogs.h"
#include "platform/win32/Win32System.h"

namespace relingo::win32 {

namespace {

int RunMessageLoop(MainWindow& window, StartupTrace* trace) {
    MSG message = {};
    for (;;) {
        // The first time nothing waits, the start is over.
        if (trace != nullptr && !::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            trace->Mark("idle");
            trace->Idle();
            trace = nullptr;
        }
        if (::GetMessageW(&message, nullptr, 0, 0) <= 0) {
            return static_cast<int>(message.wParam);
        }
        if (!window.PreTranslate(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

} // namespace

int RunRelingo(HINSTANCE instance, int showCommand, StartupTrace* trace) {
    // Before anything loads a DLL: once a re-pack has started, the current folder is the IPDK
    // program's.
    KeepCurrentFolderOutOfDllSearch();
    const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    MarkPhase(trace, "common controls");
    // COM waits until something needs it: the file dialog, the desktop lookup, completion.
    Win32System system;
    Win32CommonDialogs dialogs;
    try {
        MainWindow window(instance, system, dialogs);
        window.Create(showCommand, trace);
        return RunMessageLoop(window, trace);
    } catch (const Error& e) {
        ::MessageBoxW(nullptr, ToWide(e.Description()).c_str(), L"Relingo", MB_OK | MB_ICONSTOP);
    } catch (...) {
        ::MessageBoxW(nullptr, L"Relingo could not start.", L"Relingo", MB_OK | MB_ICONSTOP);
    }
    return 1;
}

} // namespace relingo::win32
