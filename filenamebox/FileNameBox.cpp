// The box's surface: properties read and written through the inner box or kept as members, the
// events passed on to the host, resizing, dropped files and the stored design-time properties.
#include "filenamebox/FileNameBox.h"

#include "filenamebox/NameText.h"
#include "platform/Error.h"

#include <limits>

namespace relingo {

namespace {

constexpr uint32_t kDefaultBackColor = olecolor::kWindowBackground;
constexpr uint32_t kDefaultForeColor = olecolor::kWindowText;

namespace key {
constexpr char16_t kBackColor[] = u"BackColor";
constexpr char16_t kEnabled[] = u"Enabled";
constexpr char16_t kForeColor[] = u"ForeColor";
constexpr char16_t kIMEMode[] = u"IMEMode";
constexpr char16_t kMaxLength[] = u"MaxLength";
constexpr char16_t kFont[] = u"Font";
constexpr char16_t kMessageShow[] = u"MessageShow";
constexpr char16_t kMode[] = u"Mode";
constexpr char16_t kDefaultValue[] = u"DefaultValue";
constexpr char16_t kKeyName[] = u"KeyName";
constexpr char16_t kSectionName[] = u"SectionName";
constexpr char16_t kValidateAtLostFocus[] = u"ValidateAtLostFocus";
} // namespace key

// Names passed to PropertyChanged that are not also bag keys.
constexpr char16_t kSelLength[] = u"SelLength";
constexpr char16_t kSelStart[] = u"SelStart";
constexpr char16_t kSelText[] = u"SelText";
constexpr char16_t kText[] = u"Text";
constexpr char16_t kValue[] = u"Value";

// Colours travel through the bag as 32-bit signed numbers, the top bit included.
int32_t AsStored(uint32_t color) {
    return static_cast<int32_t>(color);
}
uint32_t AsColor(int32_t stored) {
    return static_cast<uint32_t>(stored);
}

} // namespace

FileNameBox::FileNameBox(SystemServices& system, ControlHost& host, TextBox& txtInput,
                         FileNameBoxEvents* events)
    : system_(system), host_(host), txtInput_(txtInput), events_(events) {
    txtInput_.SetEvents(this);
}

FileNameBox::~FileNameBox() {
    txtInput_.SetEvents(nullptr);
}

// ---- Methods ----

void FileNameBox::Cls() {
    txtInput_.SetText(u"");
}

void FileNameBox::Refresh() {
    host_.Refresh();
}

void FileNameBox::Restore() {
    txtInput_.SetText(storedValue_.value_or(u""));
}

void FileNameBox::RestoreDefault() {
    txtInput_.SetText(defaultValue_);
}

void FileNameBox::Store() {
    storedValue_ = txtInput_.Text();
}

// ---- Properties of the inner box ----

uint32_t FileNameBox::BackColor() const {
    return txtInput_.BackColor();
}

void FileNameBox::SetBackColor(uint32_t newBackColor) {
    txtInput_.SetBackColor(newBackColor);
    host_.PropertyChanged(key::kBackColor);
}

bool FileNameBox::Enabled() const {
    return txtInput_.Enabled();
}

void FileNameBox::SetEnabled(bool newEnabled) {
    txtInput_.SetEnabled(newEnabled);
    host_.PropertyChanged(key::kEnabled);
}

FontPtr FileNameBox::Font() const {
    return txtInput_.GetFont();
}

void FileNameBox::SetFont(FontPtr newFont) {
    txtInput_.SetFont(std::move(newFont));
    host_.PropertyChanged(key::kFont);
}

uint32_t FileNameBox::ForeColor() const {
    return txtInput_.ForeColor();
}

void FileNameBox::SetForeColor(uint32_t newForeColor) {
    txtInput_.SetForeColor(newForeColor);
    host_.PropertyChanged(key::kForeColor);
}

int32_t FileNameBox::IMEMode() const {
    return txtInput_.IMEMode();
}

void FileNameBox::SetIMEMode(int32_t newIMEMode) {
    if (newIMEMode < std::numeric_limits<int16_t>::min() ||
        newIMEMode > std::numeric_limits<int16_t>::max()) {
        throw Error(errnum::kOverflow);
    }
    txtInput_.SetIMEMode(static_cast<int16_t>(newIMEMode));
    host_.PropertyChanged(key::kIMEMode);
}

int32_t FileNameBox::MaxLength() const {
    return txtInput_.MaxLength();
}

void FileNameBox::SetMaxLength(int32_t newMaxLength) {
    txtInput_.SetMaxLength(newMaxLength);
    host_.PropertyChanged(key::kMaxLength);
}

int32_t FileNameBox::SelLength() const {
    return txtInput_.SelLength();
}

void FileNameBox::SetSelLength(int32_t newSelLength) {
    txtInput_.SetSelLength(newSelLength);
    host_.PropertyChanged(kSelLength);
}

int32_t FileNameBox::SelStart() const {
    return txtInput_.SelStart();
}

void FileNameBox::SetSelStart(int32_t newSelStart) {
    txtInput_.SetSelStart(newSelStart);
    host_.PropertyChanged(kSelStart);
}

std::u16string FileNameBox::SelText() const {
    return txtInput_.SelText();
}

void FileNameBox::SetSelText(const std::u16string& newSelText) {
    txtInput_.SetSelText(newSelText);
    host_.PropertyChanged(kSelText);
}

std::u16string FileNameBox::Text() const {
    return txtInput_.Text();
}

void FileNameBox::SetText(const std::u16string& newText) {
    txtInput_.SetText(newText);
    host_.PropertyChanged(kText);
}

std::u16string FileNameBox::Value() const {
    return txtInput_.Text();
}

void FileNameBox::SetValue(const std::u16string& newValue) {
    txtInput_.SetText(newValue);
    host_.PropertyChanged(kValue);
    host_.PropertyChanged(kText);
}

// ---- Properties kept as members ----

// The default is part of the window's design; a running program may only read it.
void FileNameBox::SetDefaultValue(const std::u16string& newDefaultValue) {
    if (host_.AmbientUserMode()) {
        throw Error(errnum::kSetNotSupportedAtRunTime);
    }
    defaultValue_ = newDefaultValue;
    host_.PropertyChanged(key::kDefaultValue);
    SetValue(defaultValue_);
}

void FileNameBox::SetKeyName(const std::u16string& newKeyName) {
    keyName_ = newKeyName;
    host_.PropertyChanged(key::kKeyName);
}

void FileNameBox::SetMessageShow(bool newMessageShow) {
    messageShow_ = newMessageShow;
    host_.PropertyChanged(key::kMessageShow);
}

void FileNameBox::SetMode(int32_t newMode) {
    mode_ = newMode;
    host_.PropertyChanged(key::kMode);
}

void FileNameBox::SetSectionName(const std::u16string& newSectionName) {
    sectionName_ = newSectionName;
    host_.PropertyChanged(key::kSectionName);
}

void FileNameBox::SetValidateAtLostFocus(bool newValidateAtLostFocus) {
    validateAtLostFocus_ = newValidateAtLostFocus;
    host_.PropertyChanged(key::kValidateAtLostFocus);
}

// ---- Lifecycle ----

// The inner box keeps the properties it was made with, which are the stored defaults.
void FileNameBox::InitProperties() {
    mode_ = fnbmode::kSyntaxOnly;
    messageShow_ = true;
    keyName_.clear();
    sectionName_.clear();
    defaultValue_.clear();
    validateAtLostFocus_ = true;
}

// Each key goes to its target as soon as it is read, so a bad entry leaves the later ones as
// they were. The text saved with the window is never restored: a box starts with its default.
void FileNameBox::ReadProperties(const PropertyBag& bag) {
    txtInput_.SetBackColor(AsColor(bag.ReadLong(key::kBackColor, AsStored(kDefaultBackColor))));
    txtInput_.SetEnabled(bag.ReadBoolean(key::kEnabled, true));
    txtInput_.SetForeColor(AsColor(bag.ReadLong(key::kForeColor, AsStored(kDefaultForeColor))));
    txtInput_.SetIMEMode(bag.ReadInteger(key::kIMEMode, 0));
    txtInput_.SetMaxLength(bag.ReadLong(key::kMaxLength, 0));
    txtInput_.SetFont(bag.ReadFont(key::kFont, host_.AmbientFont()));
    messageShow_ = bag.ReadBoolean(key::kMessageShow, true);
    mode_ = bag.ReadLong(key::kMode, fnbmode::kSyntaxOnly);
    defaultValue_ = bag.ReadString(key::kDefaultValue, u"");
    keyName_ = bag.ReadString(key::kKeyName, u"");
    sectionName_ = bag.ReadString(key::kSectionName, u"");
    validateAtLostFocus_ = bag.ReadBoolean(key::kValidateAtLostFocus, true);
    txtInput_.SetText(defaultValue_);
    illegalChars_ = kIllegalChars;
}

void FileNameBox::WriteProperties(PropertyBag& bag) const {
    bag.Write(key::kBackColor, AsStored(txtInput_.BackColor()), AsStored(kDefaultBackColor));
    bag.Write(key::kEnabled, txtInput_.Enabled(), true);
    bag.Write(key::kFont, txtInput_.GetFont(), host_.AmbientFont());
    bag.Write(key::kForeColor, AsStored(txtInput_.ForeColor()), AsStored(kDefaultForeColor));
    bag.Write(key::kIMEMode, txtInput_.IMEMode(), int16_t{0});
    bag.Write(key::kMaxLength, txtInput_.MaxLength(), int16_t{0});
    bag.Write(key::kMessageShow, messageShow_, true);
    bag.Write(key::kMode, mode_, int16_t{0});
    bag.Write(key::kDefaultValue, defaultValue_, std::u16string());
    bag.Write(key::kKeyName, keyName_, std::u16string());
    bag.Write(key::kSectionName, sectionName_, std::u16string());
    bag.Write(key::kValidateAtLostFocus, validateAtLostFocus_, true);
}

void FileNameBox::Resize() {
    txtInput_.SetWidth(host_.ControlWidth());
    txtInput_.SetHeight(host_.ControlHeight());
}

// ---- Notifications of the inner box ----

void FileNameBox::OnChange() {
    if (events_ != nullptr) {
        events_->Change();
    }
}

void FileNameBox::OnClick() {
    if (events_ != nullptr) {
        events_->Click();
    }
}

void FileNameBox::OnDblClick() {
    if (events_ != nullptr) {
        events_->DblClick();
    }
}

void FileNameBox::OnKeyDown(int16_t& keyCode, int16_t& shift) {
    if (events_ != nullptr) {
        events_->KeyDown(keyCode, shift);
    }
}

void FileNameBox::OnKeyUp(int16_t& keyCode, int16_t& shift) {
    if (events_ != nullptr) {
        events_->KeyUp(keyCode, shift);
    }
}

// The inner box sits at the control's origin, so its points are the control's points; only the
// scale differs. The scale mode is read afresh for each axis.
float FileNameBox::ToContainerX(float x) {
    return host_.ScaleX(x, host_.ScaleMode(), scale::kContainerPosition);
}

float FileNameBox::ToContainerY(float y) {
    return host_.ScaleY(y, host_.ScaleMode(), scale::kContainerPosition);
}

void FileNameBox::OnMouseDown(int16_t& button, int16_t& shift, float x, float y) {
    float containerX = ToContainerX(x);
    float containerY = ToContainerY(y);
    if (events_ != nullptr) {
        events_->MouseDown(button, shift, containerX, containerY);
    }
}

void FileNameBox::OnMouseMove(int16_t& button, int16_t& shift, float x, float y) {
    float containerX = ToContainerX(x);
    float containerY = ToContainerY(y);
    if (events_ != nullptr) {
        events_->MouseMove(button, shift, containerX, containerY);
    }
}

void FileNameBox::OnMouseUp(int16_t& button, int16_t& shift, float x, float y) {
    float containerX = ToContainerX(x);
    float containerY = ToContainerY(y);
    if (events_ != nullptr) {
        events_->MouseUp(button, shift, containerX, containerY);
    }
}

// Only the first dropped name is taken. A drop without a file list (text dragged from another
// program, say) leaves the box as it is.
void FileNameBox::OnDropFiles(const std::vector<std::u16string>* files) {
    if (files == nullptr || files->empty()) {
        return;
    }
    txtInput_.SetText(files->front());
}

} // namespace relingo
