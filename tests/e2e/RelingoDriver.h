// Drives a running Relingo.exe from outside, as a user would, through window messages: finds its
// window and controls, sets texts, picks list items, presses buttons, and reads and answers the
// message boxes and dialogs it shows. Every wait polls with a time limit.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

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
    // Starts the program (a copy of Relingo.exe) in its own folder, as a double click does.
    explicit RelingoDriver(const std::wstring& program);
    ~RelingoDriver();
    RelingoDriver(const RelingoDriver&) = delete;
    RelingoDriver& operator=(const RelingoDriver&) = delete;

    // Waits for the main window to be shown; false when it did not come or the program ended.
    bool WaitForWindow();
    HWND Window() const { return window_; }
    HANDLE Process() const { return process_.hProcess; }
    DWORD ProcessId() const { return process_.dwProcessId; }

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

    // The control that holds the keyboard focus: its id (a name box's for its inner EDIT), 0
    // for none and -1 for the window itself.
    int FocusedControl();
    // Waits until the control with the id holds the focus; a failure, with what the window shows,
    // when it did not come there.
    ::testing::AssertionResult WaitForFocus(int id);
    // Clicks the middle of a control with the mouse.
    void Click(int id);
    // The inner EDIT of a name box.
    HWND EditOf(int id) const;
    // Makes the window the foreground one, as the user's click on it does, and lets the
    // activation settle (SettleFocus).
    bool BringToFront();
    // Under Wine a window that gains the X input focus compares, at the next message it takes,
    // the X server's keyboard with its own and lets go of every key that X does not hold down,
    // keys sent with SendInput among them: an Alt combination sent meanwhile may lose its Alt.
    // So the X server's word is given time to come, and the window made to take a message.
    void SettleFocus();
    // Whether a message box or dialog of the program is up.
    bool BoxShown();
    // What a person would see at a glance, for a failure's message: the foreground window,
    // the focus, the two name boxes and any box up.
    std::string Describe();

    // Presses Exit and waits for the program to end; false when it did not.
    bool Exit();
    bool HasExited();

private:
    HWND Control(int id) const { return ::GetDlgItem(window_, id); }
    // Whether the window's thread takes a message within two seconds.
    bool Answers();
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
