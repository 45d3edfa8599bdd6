// The window's controls seen through the small interfaces its logic is written against.
#pragma once

#include "filenamebox/FileNameBox.h"
#include "filopdlg/FilOpDlg.h"
#include "main_window/Controls.h"

namespace relingo {

class FileNameBoxAdapter final : public NameBox {
public:
    explicit FileNameBoxAdapter(FileNameBox& box) : box_(box) {}
    void SetText(const std::u16string& text) override { box_.SetText(text); }
    std::u16string FileName() override { return box_.FileName(); }
    std::u16string FileTitle() override { return box_.FileTitle(); }
    std::u16string FilePath() override { return box_.FilePath(); }
    std::u16string FileDrive() override { return box_.FileDrive(); }

private:
    FileNameBox& box_;
};

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
