// A small window of its own that uses Relingo's two controls: a FileNameBox that wants an existing
// file or folder, and a FilOpDlg behind a "..." button that fills it. Started with /selftest it
// closes itself once shown, so that a test can see it start.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "filenamebox/win32/FileNameBoxWindow.h"
#include "filenamebox/win32/Win32ControlHost.h"
#include "filopdlg/FilOpDlg.h"
#include "platform/Error.h"
#include "platform/PropertyBag.h"
#include "platform/WindowHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32CommonDialogs.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Window.h"

#include <memory>

namespace {

using namespace relingo;

constexpr int kNameBoxId = 100;
constexpr int kBrowseId = 101;
constexpr int kPartsId = 102;

class DemoWindow : public win32::Window<DemoWindow>, public FileNameBoxEvents {
public:
    explicit DemoWindow(HINSTANCE instance) : instance_(instance) {}

    ~DemoWindow() override { DestroyHandle(); }

    void Create(int showCommand) {
        WNDCLASSEXW windowClass = {};
        windowClass.hInstance = instance_;
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = L"RelingoControlsDemo";
        RegisterClassOnce(windowClass);
        CreateHandle(0, windowClass.lpszClassName, L"Relingo controls demo",
                     WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 520,
                     140, nullptr, nullptr, instance_, u"The demo window could not be created.");
        host_.SetWindow(Handle());
        nameBox_ = std::make_unique<win32::FileNameBoxWindow>(Handle(), RECT{10, 10, 440, 32},
                                                              kNameBoxId, system_, host_, this);
        PropertyBag designed;
        designed.Write(u"Mode", int32_t{3}, int32_t{0}); // an existing file or folder
        nameBox_->Box().ReadProperties(designed);
        ::CreateWindowExW(0, L"BUTTON", L"...", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 450, 10, 40, 22,
                          Handle(), reinterpret_cast<HMENU>(kBrowseId), instance_, nullptr);
        ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 45, 480, 40, Handle(),
                          reinterpret_cast<HMENU>(kPartsId), instance_, nullptr);
        ::ShowWindow(Handle(), showCommand);
    }

    // The box's text changed: show its parts, which checks the name without boxes.
    void Change() override {
        FileNameBox& box = nameBox_->Box();
        box.SetMessageShow(false);
        const std::u16string parts = u"Folder: " + box.FilePath() + u"\nTitle: " + box.FileTitle();
        box.SetMessageShow(true);
        ::SetDlgItemTextW(Handle(), kPartsId, win32::ToWide(parts).c_str());
    }

private:
    void Browse() {
        try {
            dialog_.SetCancelError(true);
            dialog_.SethParentwnd(WindowHandleToLong(reinterpret_cast<intptr_t>(Handle())));
            dialog_.SetFileName(nameBox_->Box().FileName());
            dialog_.ShowOpen();
            nameBox_->Box().SetText(dialog_.FileName());
        } catch (const Error& e) {
            if (e.Number() != errnum::kDialogCancelled) {
                ::MessageBoxW(Handle(), win32::ToWide(e.Description()).c_str(),
                              L"Relingo controls demo", MB_OK | MB_ICONSTOP);
            }
        }
    }

    friend class win32::Window<DemoWindow>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND && LOWORD(wParam) == kBrowseId) {
            Browse();
            return 0;
        }
        if (message == WM_DESTROY) {
            ::PostQuitMessage(0);
            return 0;
        }
        return Default(message, wParam, lParam);
    }

    HINSTANCE instance_;
    win32::Win32System system_;
    win32::Win32CommonDialogs dialogs_;
    win32::Win32ControlHost host_;
    FilOpDlg dialog_{system_, dialogs_, host_};
    std::unique_ptr<win32::FileNameBoxWindow> nameBox_;
};

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand) {
    const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return 1;
    }
    int result = 1;
    try {
        DemoWindow window(instance);
        window.Create(showCommand);
        if (std::wstring(commandLine).find(L"/selftest") != std::wstring::npos) {
            ::PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
        }
        MSG message = {};
        while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (!::IsDialogMessageW(window.Handle(), &message)) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
        }
        result = static_cast<int>(message.wParam);
    } catch (const relingo::Error&) {
        result = 1;
    }
    ::CoUninitialize();
    return result;
}
