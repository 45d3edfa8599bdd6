// The file dialog control seen through the small interface the window's logic is written against.
#pragma once

#include "filopdlg/FilOpDlg.h"
#include "main_window/Controls.h"

namespace relingo {

class FilOpDlgAdapter final : public OpenFileDialog {
public:
    explicit FilOpDlgAdapter(FilOpDlg& dialog) : dialog_(dialog) {}
    void SetCancelError(bool cancelError) override { dialog_.SetCancelError(cancelError); }
    void SetFileName(const std::u16string& fileName) override { dialog_.SetFileName(fileName); }
    void ShowOpen() override { dialog_.ShowOpen(); }
    std::u16string FileName() const override { return dialog_.FileName(); }

private:
    FilOpDlg& dialog_;
};

} // namespace relingo
