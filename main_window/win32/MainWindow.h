// The Win32 view of the main window: creates the real window and its controls at their designed
// places, restores the controls from the design data and forwards every event to frmMain.
#pragma once

#include <windows.h>

#include "filenamebox/win32/FileNameBoxWindow.h"
#include "filenamebox/win32/Win32ControlHost.h"
#include "filopdlg/FilOpDlg.h"
#include "main_window/ControlAdapters.h"
#include "main_window/frmMain.h"
#include "main_window/frmMainLayout.h"
#include "main_window/win32/ComboBoxList.h"
#include "main_window/win32/StartupTrace.h"
#include "platform/CommonDialogs.h"
#include "platform/SystemServices.h"
#include "platform/win32/Handles.h"
#include "platform/win32/RunTimeFunctions.h"
#include "platform/win32/Window.h"

#include <array>
#include <memory>

namespace relingo::win32 {

class MainWindow : public Window<MainWindow> {
public:
    // dpi: where the window's dots per inch come from; the system's own functions unless a
    // test asks for the fallbacks.
    MainWindow(HINSTANCE instance, SystemServices& system, CommonDialogs& dialogs,
               const DpiFunctions& dpi = DpiFunctions::OfSystem());
    ~MainWindow();

    // Creates the window and its controls, restores the controls from the design data, runs
    // the window's load and shows it. Throws relingo::Error when the window cannot be made.
    // A trace, when given, gets a mark at the end of each phase.
    void Create(int showCommand, StartupTrace* trace = nullptr);

    // Gives the dialog manager the keyboard message (Tab, arrows, access keys); true when it
    // was handled.
    bool PreTranslate(MSG& message) {
        return Handle() != nullptr && ::IsDialogMessageW(Handle(), &message);
    }

private:
    friend class Window<MainWindow>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    RECT FrameFor(UINT dpi) const;
    void CreateControls(StartupTrace* trace);
    void RestoreDesignData();
    void ApplyLayout();
    void MakeWindowFont();
    void ApplyFonts();
    static void FitDropDownList(HWND list, const RECT& r, int itemHeightMadeFor);
    void OnCommand(int id, int code);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void RememberFocus();
    void RestoreFocus();
    void OnNextDlgCtl(WPARAM wParam, LPARAM lParam);
    void Unload();

    HINSTANCE instance_;
    SystemServices& system_;
    const DpiFunctions& dpiFunctions_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    UniqueGdiObject font_;
    int fontHeight_ = 0; // the window font's tmHeight: a list item's height in that font
    std::array<HWND, kFormLayout.size()> controls_{};

    Win32ControlHost host_{nullptr, nullptr, dpiFunctions_};
    // The file dialog control's own site: it has no window, so its size is its own affair.
    Win32ControlHost dialogSite_ = Win32ControlHost::SiteIn(host_, dpiFunctions_);
    std::unique_ptr<FileNameBoxWindow> txtIPDK_;
    std::unique_ptr<FileNameBoxWindow> txtFileName_;
    ComboBoxList cmbFirst_;
    ComboBoxList cmbSecond_;
    FilOpDlg dlgFileOpen_;
    FilOpDlgAdapter dialogAdapter_{dlgFileOpen_};
    std::unique_ptr<frmMain> form_;
    bool unloaded_ = false;
    // The control that had the focus when the window was last deactivated.
    HWND focused_ = nullptr;
};

} // namespace relingo::win32
