// Drives a running Relingo.exe from outside, as a user would, through window messages: finds its
// window and controls, sets texts, picks list items, presses buttons, and reads and answers the
// message boxes and dialogs it shows. Every wait polls with a time limit.
#pragma once

#include <windows.h>

#include <future>
#include <optional>
#include <string>
#include <vector>

namespace relingo::test {

struct ShownBox {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
};

class RelingoDriver {
public:
    // Starts Relingo.exe (beside this program), with the IPDK stand-in told to stay silent.
    RelingoDriver();
    ~RelingoDriver();
    RelingoDriver(const RelingoDriver&) = delete;
    RelingoDriver& operator=(const RelingoDriver&) = delete;

    // Waits for the main window to be shown; false when it did not come.
    bool WaitForWindow();
    HWND Window() const { return window_; }

    std::wstring BoxText(int id);
    void SetBoxText(int id, const std::wstring& text);
    int ListIndex(int id);
    std::wstring ListText(int id);
    void SelectItem(int id, int index);
    // Presses a button without waiting for what it does (it may show a modal box); Finished
    // tells when its handler has run to its end.
    void Press(int id);
    bool Finished();

    // The next message box (or dialog) the program shows, once it is there.
    std::optional<ShownBox> WaitForBox();
    // Presses a button of a shown box and waits until the box has gone.
    bool Answer(const ShownBox& box, int button);
    // The open-file dialog, once it is there; its file-name field is set and the choice made
    // (or the dialog cancelled).
    bool ChooseInOpenDialog(const std::wstring& fileName);
    bool CancelOpenDialog();

    // Presses Exit and waits for the program to end; false when it did not.
    bool Exit();
    bool HasExited();

private:
    HWND Control(int id) const { return ::GetDlgItem(window_, id); }
    HWND EditOf(int id) const;
    std::optional<HWND> FindOpenDialog();

    // The window's handlers run on its thread; each press is sent from a thread of its own,
    // whose end is the end of the handler.
    std::vector<std::future<void>> presses_;
    PROCESS_INFORMATION process_ = {};
    HWND window_ = nullptr;
};

// The folder of this program, where Relingo.exe and the stand-in are built too.
std::wstring ProgramFolder();

} // namespace relingo::test
