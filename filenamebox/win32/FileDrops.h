// Files dropped onto the name box's EDIT. Programs drag files with OLE, offering a data object
// that holds a file list (CF_HDROP), as Explorer and the file managers do; older ones post
// WM_DROPFILES to a window that accepts files. Both arrive as the list of names, and both are
// taken only once the other program is done: a program's drag loop waits for the drop to be
// answered, and nothing the box raises may run inside it.
#pragma once

#include <windows.h>

#include <oleidl.h>

#include "platform/win32/ComObject.h"
#include "platform/win32/RunTimeFunctions.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace relingo::win32 {

using TakeDroppedFiles = std::function<void(const std::vector<std::u16string>&)>;

// The names of a file list, in order; an empty name is no file and is left out.
std::vector<std::u16string> DroppedFiles(HDROP drop);

// What a drop target answers: a copy of the names where the source allows one, a link where it
// offers only that, and nothing for data without a file list. Never a move: the source would
// delete the files once their names were taken.
DWORD FileDropEffect(bool carriesFiles, DWORD allowed);

// Whether window takes a drop now: not while it is disabled, or while its top-level window is
// (a modal box or dialog of the window is up, a check of the box's name among them).
bool TakesDropsNow(HWND window);

// Lets programs of lower rights than this one send the older drop messages to window alone:
// WM_DROPFILES, and the two messages that carry its data from another process. Nothing else of
// the window, and nothing of the process, is opened to them.
void AllowFileDropsFromLowerRights(
    HWND window, const MessageFilterFunctions& functions = MessageFilterFunctions::Get());

// The OLE drop target of a window: file lists dropped onto it go to the taker while the window
// and its thread take input; everything else is refused. The taker must not run anything that
// takes long or calls others' code: the dragging program waits until Drop returns.
class FileDropTarget : public IDropTarget {
public:
    FileDropTarget(HWND window, TakeDroppedFiles take, ObjectCounts counts);
    virtual ~FileDropTarget() = default;
    FileDropTarget(const FileDropTarget&) = delete;
    FileDropTarget& operator=(const FileDropTarget&) = delete;

    // No drop reaches the taker any more.
    void Forget() { take_ = nullptr; }

    void* Find(REFIID iid) { return Interfaces<IDropTarget>::Find(this, iid); }

    // ---- IDropTarget ----
    STDMETHODIMP DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragLeave() override;
    STDMETHODIMP Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    bool Accepting() const { return take_ && TakesDropsNow(window_); }

    HWND window_;
    TakeDroppedFiles take_;
    CountedObject counted_;     // a drag in another program may still hold the target
    bool carriesFiles_ = false; // what the drag over the window holds
};

// A window registered as an OLE drop target for as long as the object lives. It must go before
// the window does, on the window's thread.
class FileDropRegistration {
public:
    // Null when the window cannot be a target: OLE is not entered on the thread, say. counts
    // hears of the target for as long as it lives.
    static std::unique_ptr<FileDropRegistration> Register(HWND window, TakeDroppedFiles take,
                                                          ObjectCounts counts = {});
    ~FileDropRegistration();
    FileDropRegistration(const FileDropRegistration&) = delete;
    FileDropRegistration& operator=(const FileDropRegistration&) = delete;

private:
    FileDropRegistration(HWND window, ComPtr<ComObject<FileDropTarget>> target)
        : window_(window), target_(std::move(target)) {}

    HWND window_;
    ComPtr<ComObject<FileDropTarget>> target_;
};

} // namespace relingo::win32
