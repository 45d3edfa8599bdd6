// The file name box as a real child window: a registered window class that holds one EDIT as
// the inner box, filling it, with the FileNameBox logic over both.
#pragma once

#include <windows.h>

#include "filenamebox/FileNameBox.h"
#include "filenamebox/win32/EditTextBox.h"
#include "platform/HostServices.h"
#include "platform/SystemServices.h"

#include <memory>

namespace relingo::win32 {

// The name of the window class of the box.
inline constexpr wchar_t kFileNameBoxClass[] = L"Relingo.FileNameBox";

class FileNameBoxWindow {
public:
    // Creates the box as a child of parent with the control id, at the rectangle (pixels, in
    // the parent's client area) or empty until Move places it. host gives the ambient
    // properties (locale, user mode, font), the scale conversion and the change notification
    // and must outlive the box; the box reports its own extent and repaint itself. The inner
    // box starts with host's ambient font. Throws relingo::Error when the window cannot be made.
    FileNameBoxWindow(HWND parent, int controlId, SystemServices& system, ControlHost& host,
                      FileNameBoxEvents* events = nullptr);
    FileNameBoxWindow(HWND parent, const RECT& bounds, int controlId, SystemServices& system,
                      ControlHost& host, FileNameBoxEvents* events = nullptr);
    ~FileNameBoxWindow();
    FileNameBoxWindow(const FileNameBoxWindow&) = delete;
    FileNameBoxWindow& operator=(const FileNameBoxWindow&) = delete;

    FileNameBox& Box() { return *box_; }
    const FileNameBox& Box() const { return *box_; }
    HWND Handle() const { return hwnd_; }
    HWND EditHandle() const { return input_ ? input_->Handle() : nullptr; }
    bool AutoCompleteOn() const { return input_ && input_->AutoCompleteOn(); }

    // Moves and sizes the box (pixels, in the parent's client area); the inner box follows.
    void Move(const RECT& bounds);

private:
    // What the box asks of its place in the window: its own extent and repaint come from its
    // window, everything else from the owner's host.
    class Site final : public ControlHost {
    public:
        Site(ControlHost& owner, HWND& window) : owner_(owner), window_(window) {}
        void PropertyChanged(std::u16string_view name) override { owner_.PropertyChanged(name); }
        int32_t AmbientLocaleID() override { return owner_.AmbientLocaleID(); }
        bool AmbientUserMode() override { return owner_.AmbientUserMode(); }
        FontPtr AmbientFont() override { return owner_.AmbientFont(); }
        int16_t ScaleMode() override { return scale::kPixels; }
        float ScaleX(float value, int16_t from, int16_t to) override {
            return owner_.ScaleX(value, from, to);
        }
        float ScaleY(float value, int16_t from, int16_t to) override {
            return owner_.ScaleY(value, from, to);
        }
        float ControlWidth() override;
        float ControlHeight() override;
        void SetControlSize(float width, float height) override;
        void Refresh() override;

    private:
        ControlHost& owner_;
        HWND& window_;
    };

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    Site site_;
    std::unique_ptr<EditTextBox> input_;
    std::unique_ptr<FileNameBox> box_;
};

} // namespace relingo::win32
