// A file name box that has a window only while something needs one: a container that holds it in
// place, or a member that cannot do without (taking the focus). Otherwise the inner box's state
// is kept in memory, so that a box that is made, set and let go, as a script's is, makes no
// window at all, and a box its container takes out again keeps none.
#pragma once

#include <windows.h>

#include "filenamebox/DeferredTextBox.h"
#include "filenamebox/FileNameBox.h"
#include "filenamebox/win32/BoxSystem.h"
#include "filenamebox/win32/FileNameBoxWindow.h"
#include "filenamebox/win32/Win32ControlHost.h"
#include "platform/HostServices.h"
#include "platform/SystemServices.h"
#include "platform/win32/RunTimeFunctions.h"

#include <functional>
#include <memory>

namespace relingo::win32 {

class FileNameBoxOnDemand {
public:
    // As FileNameBoxWindow's, with size the box's extent in pixels until it has a window.
    FileNameBoxOnDemand(SystemServices& system, ControlHost& host, SIZE size,
                        FileNameBoxEvents* events = nullptr, const BoxSystem& boxSystem = {});
    FileNameBoxOnDemand(const FileNameBoxOnDemand&) = delete;
    FileNameBoxOnDemand& operator=(const FileNameBoxOnDemand&) = delete;

    FileNameBox& Box() { return box_; }
    // Null until the window is made.
    FileNameBoxWindow* Window() const { return window_.get(); }

    // Puts the box into parent at bounds (pixels, in the parent's client area) and shows it:
    // its window is made there, or moved there when it has one already, or made there afresh
    // when the system will not move it. The box's window.
    HWND Place(HWND parent, const RECT& bounds);
    // Takes the box out of its parent again: the state goes back into memory, and the window
    // goes. Moving it among the message-only windows instead would cost about what making it
    // does, and it would still have to be destroyed later.
    void Unplace();
    // Makes the window, as a message-only one, when the box has none.
    void EnsureWindow();

    // As FileNameBoxWindow's, for the window whenever it is made.
    void SetFocusObserver(std::function<void(bool)> observer);

private:
    void MakeWindow(HWND parent, const RECT& bounds);

    BoxSystem boxSystem_;
    Win32ControlHost site_;
    DeferredTextBox input_;
    std::function<void(bool)> focusObserver_;
    std::unique_ptr<FileNameBoxWindow> window_;
    // Last, so that it goes first: nothing the window does while going reaches the logic.
    FileNameBox box_;
};

} // namespace relingo::win32
