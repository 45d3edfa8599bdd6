#include "filenamebox/MemoryTextBox.h"

#include "filenamebox/InnerBoxRules.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace relingo {

namespace {

// The limit of text an EDIT takes in before any is set, as it reports it under Wine.
constexpr size_t kFirstLimit = 30000;
// EM_SETLIMITTEXT with 0, or with anything above this, gives a single-line EDIT this limit.
constexpr size_t kWidestLimit = 0x7FFFFFFE;

// Text reaches the EDIT as a C string, so it ends at the first NUL.
std::u16string_view AsPassed(const std::u16string& text) {
    return std::u16string_view(text.c_str());
}

int ToPixels(float measure) {
    return std::max(0, static_cast<int>(std::lround(measure)));
}

} // namespace

MemoryTextBox::MemoryTextBox(FontPtr font, float width, float height)
    : font_(font ? std::move(font) : std::make_shared<Font>()), limit_(kFirstLimit),
      width_(ToPixels(width)), height_(ToPixels(height)) {}

void MemoryTextBox::NotifyChange() {
    if (events_ != nullptr) {
        events_->OnChange();
    }
}

// The text the box already has is not set again (EditTextBox compares first). Any other text
// goes in whole, past the limit too, and leaves the caret at the start; the EDIT raises a change
// even when the text it keeps, cut at a NUL, is the one it had.
void MemoryTextBox::SetText(const std::u16string& text) {
    if (text == text_) {
        return;
    }
    text_ = AsPassed(text);
    selStart_ = 0;
    selEnd_ = 0;
    NotifyChange();
}

void MemoryTextBox::SetSelStart(int32_t start) {
    RequireNotNegative(start);
    selStart_ = std::min(static_cast<size_t>(start), text_.size());
    selEnd_ = selStart_;
}

void MemoryTextBox::SetSelLength(int32_t length) {
    RequireNotNegative(length);
    selEnd_ = std::min(selStart_ + static_cast<size_t>(length), text_.size());
}

std::u16string MemoryTextBox::SelText() const {
    return text_.substr(selStart_, selEnd_ - selStart_);
}

// As EM_REPLACESEL: nothing put into an empty selection is no change at all; anything else
// raises one, even a replacement by the same text or one the limit cuts to nothing. The limit
// counts the text kept outside the selection, in UTF-16 units (a surrogate pair may be cut in
// two), and a text already over it takes nothing in. The caret ends after what went in.
void MemoryTextBox::SetSelText(const std::u16string& text) {
    std::u16string_view inserted = AsPassed(text);
    if (selStart_ == selEnd_ && inserted.empty()) {
        return;
    }
    const size_t kept = text_.size() - (selEnd_ - selStart_);
    const size_t room = limit_ > kept ? limit_ - kept : 0;
    inserted = inserted.substr(0, room);
    text_.replace(selStart_, selEnd_ - selStart_, inserted);
    selStart_ += inserted.size();
    selEnd_ = selStart_;
    NotifyChange();
}

void MemoryTextBox::SetBackColor(uint32_t color) {
    RequireValidOleColor(color);
    backColor_ = color;
}

void MemoryTextBox::SetForeColor(uint32_t color) {
    RequireValidOleColor(color);
    foreColor_ = color;
}

void MemoryTextBox::SetFont(FontPtr font) {
    RequireFont(font);
    font_ = std::move(font);
}

void MemoryTextBox::SetIMEMode(int16_t mode) {
    RequireValidIMEMode(mode);
    imeMode_ = mode;
}

void MemoryTextBox::SetMaxLength(int32_t length) {
    RequireNotNegative(length);
    maxLength_ = length;
    limit_ = length == 0 ? kWidestLimit : std::min(static_cast<size_t>(length), kWidestLimit);
}

void MemoryTextBox::SetWidth(float width) {
    width_ = ToPixels(width);
}

void MemoryTextBox::SetHeight(float height) {
    height_ = ToPixels(height);
}

} // namespace relingo
