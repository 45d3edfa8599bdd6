// Drives a real Open or Save As dialog, of this process or of another, from a thread of its own,
// as a user would: types a name into the file-name field and presses a button.
#pragma once

#include <windows.h>

#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace relingo::test {

// What the driver saw of the dialog before pressing its button.
struct SeenFileDialog {
    bool found = false;
    std::wstring caption;
    HWND owner = nullptr;
    std::vector<std::wstring> filters; // the descriptions in the file-type list
    int selectedFilter = -1;           // zero-based
    // False when the dialog was still open long after the button was pressed (a message box of
    // the dialog, say); the driver then closed whatever was left.
    bool closedByButton = false;
};

class FileDialogDriver {
public:
    // Waits, with a time limit, for the next dialog of the process (this one by default); types
    // the name, when there is one, and presses button (IDOK or IDCANCEL).
    FileDialogDriver(std::optional<std::wstring> name, int button,
                     DWORD processId = ::GetCurrentProcessId());
    ~FileDialogDriver();
    FileDialogDriver(const FileDialogDriver&) = delete;
    FileDialogDriver& operator=(const FileDialogDriver&) = delete;

    // Waits for the driver to finish and returns what it saw.
    SeenFileDialog Seen();

private:
    void Run();
    void Join();

    std::optional<std::wstring> name_;
    int button_;
    DWORD processId_;
    SeenFileDialog seen_;
    std::thread thread_;
};

} // namespace relingo::test
