// Helpers for tests that exercise the real Win32 API (under Wine on Linux).
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace relingo::test {

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    // The full name of an entry inside the folder.
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

    // Creates a file (with its parent folders) holding the given bytes; returns its full name.
    std::wstring AddFile(const std::wstring& name, const std::string& content = "x",
                         DWORD attributes = FILE_ATTRIBUTE_NORMAL) const;
    std::wstring AddFolder(const std::wstring& name, DWORD attributes = 0) const;

private:
    std::wstring path_;
};

// Removes the folder and all it holds, whatever their attributes.
void RemoveTree(const std::wstring& path);

struct SeenDialog {
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
};

// Watches, from a thread of its own, for dialog boxes (class #32770) of this process; records
// the caption and message text of each and closes it with the given button. Polls with a time
// limit instead of sleeping a fixed time.
class DialogWatcher {
public:
    explicit DialogWatcher(int button = IDOK);
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // Waits until count dialogs have been seen or the time limit passes; returns what was seen.
    std::vector<SeenDialog> WaitFor(size_t count,
                                    std::chrono::milliseconds limit = std::chrono::seconds(20));
    std::vector<SeenDialog> Seen();

private:
    void Run();

    int button_;
    std::mutex mutex_;
    std::vector<SeenDialog> seen_;
    std::set<HWND> handled_;
    bool stop_ = false;
    std::thread thread_;
};

// How another program's drag onto a window ended (tests/dragsource/DragSource.cpp).
struct DragOutcome {
    bool dropped = false;       // the drag ended in a drop, not a cancel or a failure
    DWORD entered = 0xFFFFFFFF; // the effect the target answered as the drag came over it
    DWORD effect = 0xFFFFFFFF;  // the effect of the drop
};

// Drags onto the middle of window from another program, DragSource, which offers what the
// arguments say, through the system's drag loop. This thread's messages are handled meanwhile,
// for a target of its own. started gets the dragging program's process while it runs.
DragOutcome DragOnto(HWND window, const std::wstring& arguments,
                     const std::function<void(HANDLE)>& started = {});

// Waits until window is registered as an OLE drop target, handling this thread's messages.
bool WaitForDropTarget(HWND window);

// The visible top-level windows of the process with the class (message boxes and dialogs are
// "#32770").
std::vector<HWND> TopWindowsOf(DWORD processId, const wchar_t* className);

// A text as UTF-8, for messages and for comparing with what the stand-in wrote.
std::string Utf8(const std::wstring& text);

// Runs a command line to its end, hidden; returns its exit code.
DWORD RunAndWait(const std::wstring& commandLine);

// The names of the DLLs a program or DLL imports, as its import table spells them; nothing when
// the file is not a Windows program.
std::vector<std::string> ImportedDlls(const std::wstring& program);

// Polls the condition every few milliseconds until it holds or the limit passes.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// What the IPDK stand-in wrote into its folder when it started, as UTF-8: its command line and
// its current folder.
struct StandInRecord {
    std::string commandLine;
    std::string folder;
};

// Waits for the stand-in started in the folder to write its record; nothing when the limit
// passes first.
std::optional<StandInRecord>
WaitForStandInRecord(const std::wstring& folder,
                     std::chrono::milliseconds limit = std::chrono::seconds(20));

} // namespace relingo::test
