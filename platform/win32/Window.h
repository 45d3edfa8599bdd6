// The plumbing every window of the program shares: its class registered once, the window's
// object found from its handle, the handle forgotten when the window goes, and no exception let
// through into the system's code. A window derives from Window<Derived> and answers messages in
//     LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
// passing on what it does not handle with Default(). WM_NCDESTROY reaches it too, as the last
// message, and Handle() is null from then on.
#pragma once

#include <windows.h>

#include "platform/Error.h"

namespace relingo::win32 {

template <class Derived>
class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }

protected:
    Window() = default;
    // A window still there when its object goes is destroyed without reaching the object, whose
    // derived part is already gone. Derived windows that want to see their own destruction
    // call DestroyHandle() in their destructor.
    ~Window() {
        if (hwnd_ != nullptr) {
            ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            ::DestroyWindow(hwnd_);
        }
    }

    // Registers the class with this window procedure; a class already registered, by an
    // earlier window of the same kind, is used as it is.
    static void RegisterClassOnce(WNDCLASSEXW windowClass) {
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProc;
        if (!::RegisterClassExW(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            throw Error(errnum::kOutOfMemory, u"A window class could not be registered.");
        }
    }

    // Creates the window for this object; Handle() is set from its first message on. Throws
    // relingo::Error with the description when the window cannot be made.
    void CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style,
                      int x, int y, int width, int height, HWND parent, HMENU menuOrId,
                      HINSTANCE instance, const char16_t* failure) {
        ::CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parent, menuOrId,
                          instance, this);
        if (hwnd_ == nullptr) {
            throw Error(errnum::kOutOfMemory, failure);
        }
    }

    void DestroyHandle() {
        if (hwnd_ != nullptr) {
            ::DestroyWindow(hwnd_);
        }
    }

    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* creating = static_cast<Window*>(
                reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
            creating->hwnd_ = hwnd;
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
        }
        auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self == nullptr) {
            return ::DefWindowProcW(hwnd, message, wParam, lParam);
        }
        LRESULT result = 0;
        // A window's handlers report their own errors; what arrives here is a failure of the
        // view itself, and it may not cross the system's frames.
        try {
            result = static_cast<Derived*>(self)->HandleMessage(message, wParam, lParam);
        } catch (...) {
            result = ::DefWindowProcW(hwnd, message, wParam, lParam);
        }
        // The window's last message: after it nothing may reach the object through the handle.
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

    HWND hwnd_ = nullptr;
};

} // namespace relingo::win32
