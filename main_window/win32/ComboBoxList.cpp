#include "main_window/win32/ComboBoxList.h"

#include "platform/Error.h"
#include "platform/win32/WideText.h"

#include <vector>

namespace relingo::win32 {

void ComboBoxList::AddItem(const wchar_t* text) {
    ::SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

std::u16string ComboBoxList::Text() const {
    const auto index = ::SendMessageW(combo_, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) {
        return {};
    }
    const auto length = ::SendMessageW(combo_, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) {
        return {};
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(combo_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
    return FromWide(buffer.data());
}

int16_t ComboBoxList::ListIndex() const {
    const auto index = ::SendMessageW(combo_, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? int16_t{-1} : static_cast<int16_t>(index);
}

void ComboBoxList::SetListIndex(int16_t index) {
    if (index < -1 || index >= ListCount()) {
        throw Error(errnum::kInvalidPropertyValue);
    }
    ::SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int16_t ComboBoxList::ListCount() const {
    return static_cast<int16_t>(::SendMessageW(combo_, CB_GETCOUNT, 0, 0));
}

} // namespace relingo::win32
