// The file name box as a real child window: a registered window class that holds one EDIT as
// the inner box, filling it, with the FileNameBox logic over both.
#pragma once

#include <windows.h>

#include "filenamebox/DeferredTextBox.h"
#include "filenamebox/FileNameBox.h"
#include "filenamebox/win32/BoxSystem.h"
#include "filenamebox/win32/EditTextBox.h"
#include "filenamebox/win32/Win32ControlHost.h"
#include "platform/HostServices.h"
#include "platform/SystemServices.h"
#include "platform/win32/Window.h"

#include <functional>
#include <memory>
#include <utility>

namespace relingo::win32 {

// The name of the window class of the box.
inline constexpr wchar_t kFileNameBoxClass[] = L"Relingo.FileNameBox";

// The class is registered for the module that holds the box's code, the first time a box is
// made. Windows unregisters a program's classes as it ends, but leaves those of a DLL that
// unloads, pointing into code that is gone: a DLL that holds the box calls this as it goes.
void UnregisterFileNameBoxClass();

class FileNameBoxWindow : public Window<FileNameBoxWindow> {
public:
    // Creates the box as a child of parent with the control id, at the rectangle (pixels, in
    // the parent's client area). host gives the ambient properties (locale, user mode, font),
    // the scale conversion and the change notification and must outlive the box; the box
    // reports its own extent and repaint itself. The inner box starts with host's ambient font,
    // made at the DPI that boxSystem tells. Throws relingo::Error when the window cannot be made.
    FileNameBoxWindow(HWND parent, const RECT& bounds, int controlId, SystemServices& system,
                      ControlHost& host, FileNameBoxEvents* events = nullptr,
                      const BoxSystem& boxSystem = {});
    // The window of a box that has lived without one so far (FileNameBoxOnDemand): site reports
    // the new window's extent, box lays its inner box out for it, and input takes the new EDIT
    // as its real box, with the state it kept. site, box and input must outlive the window.
    FileNameBoxWindow(HWND parent, const RECT& bounds, int controlId, Win32ControlHost& site,
                      FileNameBox& box, DeferredTextBox& input, const BoxSystem& boxSystem = {});
    ~FileNameBoxWindow();

    FileNameBox& Box() { return *box_; }
    const FileNameBox& Box() const { return *box_; }
    HWND EditHandle() const { return input_ ? input_->Handle() : nullptr; }
    bool AutoCompleteOn() const { return input_ && input_->AutoCompleteOn(); }

    // Moves and sizes the box (pixels, in the parent's client area); the inner box follows.
    void Move(const RECT& bounds);
    // The window's dots per inch changed to dpi: the inner box makes its font again for it. A
    // parent that hears of the change (WM_DPICHANGED) tells the box, since a system that sends it
    // may have no way yet to tell a window's own DPI.
    void SetDpi(UINT dpi) { input_->SetDpi(dpi); }
    // Makes the box take files dragged onto it, once the window is idle. A box made in a window
    // does so by itself; one made among the message-only windows, once it is moved into one.
    void AcceptDrops() { input_->AcceptDropsOnceIdle(); }
    bool TakesOleDrops() const { return input_ && input_->TakesOleDrops(); }

    // Called with true when the inner box gains the keyboard focus and false when it loses it,
    // for a container that must hear of it (a COM host's site, say).
    void SetFocusObserver(std::function<void(bool)> observer) {
        focusObserver_ = std::move(observer);
    }

private:
    friend class Window<FileNameBoxWindow>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateBoxWindow(HWND parent, const RECT& bounds, int controlId);
    void NotifyFocus(bool gained);
    void AcceptDropsUnlessParked(HWND parent);
    void Abandon();

    // What the box asks of its place in the window: its own extent and repaint come from its
    // window, everything else from the owner's host. Its own, or the one of a box that had
    // none.
    std::unique_ptr<Win32ControlHost> ownSite_;
    Win32ControlHost& site_;
    std::unique_ptr<EditTextBox> input_;
    std::unique_ptr<FileNameBox> ownBox_;
    FileNameBox* box_ = nullptr;
    std::function<void(bool)> focusObserver_;
};

} // namespace relingo::win32
