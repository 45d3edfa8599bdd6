// The floor of the start-up benchmark: Relingo's window with the same controls at the same
// places, made the plain way (one window procedure, a standard control for each, the name boxes
// as bare EDITs, one font) and nothing else: no design data, no settings, no validation. What the
// system takes to make and first draw these controls, Relingo.exe cannot save; what it takes
// beyond this program is its own doing.
#include <windows.h>

#include "bench/BareWindow.h"
#include "main_window/frmMainLayout.h"

namespace {

constexpr wchar_t kClassName[] = RELINGO_PLAIN_CONTROLS_CLASS;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

int Pixels(int twips, int dpi) {
    return ::MulDiv(twips, dpi, 1440);
}

const wchar_t* Wide(const char16_t* text) {
    return text != nullptr ? reinterpret_cast<const wchar_t*>(text) : L"";
}

void MakeControl(HWND parent, const relingo::ControlPlacement& placement, int dpi, HFONT font) {
    const wchar_t* windowClass = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    int height = Pixels(placement.height, dpi);
    switch (placement.kind) {
    case relingo::ControlKind::Label:
        break;
    case relingo::ControlKind::NameBox:
        windowClass = L"EDIT";
        style |= WS_TABSTOP | ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case relingo::ControlKind::Button:
        windowClass = L"BUTTON";
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
    case relingo::ControlKind::DropDownList:
        windowClass = L"COMBOBOX";
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
        height *= 8;
        break;
    }
    const HWND control = ::CreateWindowExW(
        exStyle, windowClass, Wide(placement.caption), style, Pixels(placement.left, dpi),
        Pixels(placement.top, dpi), Pixels(placement.width, dpi), height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(placement.id)), nullptr, nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (placement.kind == relingo::ControlKind::DropDownList) {
        for (const char16_t* item : relingo::kFirstLanguages) {
            ::SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item)));
        }
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    if (!relingo::bench::RegisterQuitWhenDestroyedClass(instance, kClassName)) {
        return 1;
    }
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    RECT frame = {0, 0, Pixels(relingo::kFormClientWidth, dpi),
                  Pixels(relingo::kFormClientHeight, dpi)};
    ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    const HWND hwnd = ::CreateWindowExW(
        0, kClassName, Wide(relingo::kFormCaption), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (hwnd == nullptr) {
        return 1;
    }
    LOGFONTW font = {};
    font.lfHeight = -::MulDiv(8, dpi, 72);
    font.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(font.lfFaceName, L"MS Shell Dlg", LF_FACESIZE);
    const HFONT windowFont = ::CreateFontIndirectW(&font);
    for (const relingo::ControlPlacement& placement : relingo::kFormLayout) {
        MakeControl(hwnd, placement, dpi, windowFont);
    }
    ::ShowWindow(hwnd, showCommand);
    ::UpdateWindow(hwnd);
    MSG message = {};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageW(hwnd, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    ::DeleteObject(windowFont);
    return static_cast<int>(message.wParam);
}
