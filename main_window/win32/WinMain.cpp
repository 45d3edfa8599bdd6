// Relingo's entry point: one window, one message loop.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "filopdlg/FilOpDlg.h"
#include "main_window/win32/MainWindow.h"
#include "platform/Error.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32CommonDialogs.h"
#include "platform/win32/Win32System.h"

namespace {

// COM for the shell's folder lookups and auto-completion, for as long as the window lives.
class ComApartment {
public:
    ComApartment() : initialized_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialized_) {
            ::CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialized_;
};

int RunMessageLoop(relingo::win32::MainWindow& window) {
    MSG message = {};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!window.PreTranslate(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    ComApartment com;
    relingo::win32::Win32System system;
    relingo::win32::Win32CommonDialogs dialogs;
    try {
        relingo::win32::MainWindow window(instance, system, dialogs);
        window.Create(showCommand);
        return RunMessageLoop(window);
    } catch (const relingo::Error& e) {
        ::MessageBoxW(nullptr, relingo::win32::ToWide(e.Description()).c_str(), L"Relingo",
                      MB_OK | MB_ICONSTOP);
    } catch (...) {
        ::MessageBoxW(nullptr, L"Relingo could not start.", L"Relingo", MB_OK | MB_ICONSTOP);
    }
    return 1;
}
