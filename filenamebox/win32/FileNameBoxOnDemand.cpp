#include "filenamebox/win32/FileNameBoxOnDemand.h"

#include <cmath>

namespace relingo::win32 {

namespace {

constexpr int kControlId = 1;

} // namespace

FileNameBoxOnDemand::FileNameBoxOnDemand(SystemServices& system, ControlHost& host, SIZE size,
                                         FileNameBoxEvents* events, const BoxSystem& boxSystem)
    : boxSystem_(boxSystem), site_(Win32ControlHost::SiteIn(host, *boxSystem.dpi)),
      input_(host.AmbientFont(), static_cast<float>(size.cx), static_cast<float>(size.cy),
             [this] { EnsureWindow(); }),
      box_(system, site_, input_, events) {}

void FileNameBoxOnDemand::MakeWindow(HWND parent, const RECT& bounds) {
    window_ = std::make_unique<FileNameBoxWindow>(parent, bounds, kControlId, site_, box_, input_,
                                                  boxSystem_);
    window_->SetFocusObserver(focusObserver_);
}

HWND FileNameBoxOnDemand::Place(HWND parent, const RECT& bounds) {
    if (!window_) {
        MakeWindow(parent, bounds);
        return window_->Handle();
    }
    const HWND box = window_->Handle();
    // A window among the message-only ones may not move into a window of another DPI awareness:
    // the box's state goes back into memory and its window is made where it belongs.
    if (boxSystem_.setParent(box, parent) == nullptr) {
        Unplace();
        MakeWindow(parent, bounds);
        return window_->Handle();
    }
    window_->Move(bounds);
    ::ShowWindow(box, SW_SHOWNA);
    window_->AcceptDrops();
    return box;
}

void FileNameBoxOnDemand::Unplace() {
    if (window_) {
        input_.Detach();
        window_.reset();
    }
}

// The window is made at the size the box has kept.
void FileNameBoxOnDemand::EnsureWindow() {
    if (!window_) {
        MakeWindow(HWND_MESSAGE, RECT{0, 0, static_cast<LONG>(std::lround(input_.Width())),
                                      static_cast<LONG>(std::lround(input_.Height()))});
    }
}

void FileNameBoxOnDemand::SetFocusObserver(std::function<void(bool)> observer) {
    focusObserver_ = std::move(observer);
    if (window_) {
        window_->SetFocusObserver(focusObserver_);
    }
}

} // namespace relingo::win32
