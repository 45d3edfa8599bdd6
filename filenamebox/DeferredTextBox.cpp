#include "filenamebox/DeferredTextBox.h"

namespace relingo {

namespace {

// What to does not hold already, in a fixed order: the selection after the text it lies in, and
// MaxLength only once one was given, as a box new from the system has a limit of its own. Values
// to has are not set again, each setting of a real box costing the system work.
void MoveState(const TextBox& from, TextBox& to, bool withMaxLength) {
    if (to.GetFont() != from.GetFont()) {
        to.SetFont(from.GetFont());
    }
    if (to.BackColor() != from.BackColor()) {
        to.SetBackColor(from.BackColor());
    }
    if (to.ForeColor() != from.ForeColor()) {
        to.SetForeColor(from.ForeColor());
    }
    if (to.Enabled() != from.Enabled()) {
        to.SetEnabled(from.Enabled());
    }
    if (to.IMEMode() != from.IMEMode()) {
        to.SetIMEMode(from.IMEMode());
    }
    if (withMaxLength) {
        to.SetMaxLength(from.MaxLength());
    }
    if (to.Text() != from.Text()) {
        to.SetText(from.Text());
    }
    if (to.SelStart() != from.SelStart() || to.SelLength() != from.SelLength()) {
        to.SetSelStart(from.SelStart());
        to.SetSelLength(from.SelLength());
    }
    if (to.Width() != from.Width()) {
        to.SetWidth(from.Width());
    }
    if (to.Height() != from.Height()) {
        to.SetHeight(from.Height());
    }
}

} // namespace

DeferredTextBox::DeferredTextBox(FontPtr font, float width, float height,
                                 std::function<void()> needReal)
    : memory_(std::move(font), width, height), needReal_(std::move(needReal)) {}

void DeferredTextBox::Attach(TextBox& real) {
    real.SetEvents(nullptr);
    MoveState(memory_, real, maxLengthGiven_);
    memory_.SetEvents(nullptr);
    real.SetEvents(events_);
    real_ = &real;
}

void DeferredTextBox::Detach() {
    if (real_ == nullptr) {
        return;
    }
    MoveState(*real_, memory_, maxLengthGiven_);
    real_->SetEvents(nullptr);
    real_ = nullptr;
    memory_.SetEvents(events_);
}

void DeferredTextBox::SetEvents(TextBoxEvents* events) {
    events_ = events;
    Current().SetEvents(events);
}

void DeferredTextBox::SetMaxLength(int32_t length) {
    Current().SetMaxLength(length);
    maxLengthGiven_ = true;
}

void DeferredTextBox::SetFocus() {
    if (real_ == nullptr && needReal_) {
        needReal_();
    }
    Current().SetFocus();
}

} // namespace relingo
