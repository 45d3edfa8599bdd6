// Test doubles of the main window's lists and open dialog.
#pragma once

#include "main_window/Controls.h"
#include "platform/Error.h"
#include "tests/fakes/FakeSystem.h"

#include <functional>
#include <string>
#include <vector>

namespace relingo::test {

class FakeList final : public DropDownList {
public:
    explicit FakeList(std::vector<std::u16string> items) : items_(std::move(items)) {}
    std::u16string Text() const override { return index_ >= 0 ? items_[index_] : u""; }
    int16_t ListIndex() const override { return index_; }
    void SetListIndex(int16_t index) override {
        if (index < -1 || index >= ListCount()) {
            throw Error(errnum::kInvalidPropertyValue);
        }
        index_ = index;
    }
    int16_t ListCount() const override { return static_cast<int16_t>(items_.size()); }

private:
    std::vector<std::u16string> items_;
    int16_t index_ = -1;
};

// The open dialog as the window drives it: records its seeds and plays a scripted outcome.
class FakeOpenDialog final : public OpenFileDialog {
public:
    std::vector<std::u16string> seeds;
    bool cancelError = false;
    // What ShowOpen does; by default the user picks nothing new.
    std::function<void(FakeOpenDialog&)> outcome = [](FakeOpenDialog&) {};
    std::u16string fileName;

    void SetCancelError(bool value) override { cancelError = value; }
    void SetFileName(const std::u16string& name) override { fileName = name; }
    void ShowOpen() override {
        seeds.push_back(fileName);
        outcome(*this);
    }
    std::u16string FileName() const override { return fileName; }
};

// The window's error reports among the boxes shown, as opposed to the name boxes' own faults.
inline size_t ErrorReports(const FakeSystem& system) {
    size_t count = 0;
    for (const auto& box : system.MsgBoxes()) {
        count += box.text.starts_with(u"Error No. : ") ? 1 : 0;
    }
    return count;
}

} // namespace relingo::test
