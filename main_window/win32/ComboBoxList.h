// A drop-down list of the window over a real COMBOBOX control.
#pragma once

#include <windows.h>

#include "main_window/Controls.h"

namespace relingo::win32 {

class ComboBoxList final : public DropDownList {
public:
    void Attach(HWND combo) { combo_ = combo; }
    void AddItem(const wchar_t* text);

    std::u16string Text() const override;
    int16_t ListIndex() const override;
    void SetListIndex(int16_t index) override;
    int16_t ListCount() const override;

private:
    HWND combo_ = nullptr;
};

} // namespace relingo::win32
