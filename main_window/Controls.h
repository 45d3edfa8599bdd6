// What the main window's logic needs of its lists and its file dialog: small interfaces, so that
// the logic runs over the real window and over test doubles alike. The name boxes it uses as
// they are.
#pragma once

#include <cstdint>
#include <string>

namespace relingo {

// A drop-down list whose user picks one of its items; -1 means no selection.
class DropDownList {
public:
    virtual ~DropDownList() = default;
    virtual std::u16string Text() const = 0;
    virtual int16_t ListIndex() const = 0;
    // Fails with error 380 for an index outside -1 to the last index.
    virtual void SetListIndex(int16_t index) = 0;
    virtual int16_t ListCount() const = 0;
};

// The open-file dialog as the window drives it.
class OpenFileDialog {
public:
    virtual ~OpenFileDialog() = default;
    virtual void SetCancelError(bool cancelError) = 0;
    virtual void SetFileName(const std::u16string& fileName) = 0;
    // Runs the dialog; a cancel with CancelError True fails with error 32755.
    virtual void ShowOpen() = 0;
    virtual std::u16string FileName() const = 0;
};

} // namespace relingo
