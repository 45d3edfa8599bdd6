// What a control requires of the container that hosts it: change notification, ambient
// properties, scale conversion, its own extent and repaint.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace relingo {

// A font object. Controls hold it by shared pointer: assigning a font hands over the very
// object, as the host's font objects are assigned by reference.
struct Font {
    std::u16string name = u"MS Sans Serif";
    double size = 8.25; // points
    int16_t weight = 400;
    int16_t charset = 0;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;

    bool Bold() const { return weight >= 700; }
    friend bool operator==(const Font&, const Font&) = default;
};
using FontPtr = std::shared_ptr<Font>;

inline constexpr int16_t kJapaneseCharset = 128;
inline constexpr int32_t kLocaleJapanese = 1041;

// Scale codes of ScaleX and ScaleY.
namespace scale {
inline constexpr int16_t kTwips = 1;
inline constexpr int16_t kPoints = 2;
inline constexpr int16_t kPixels = 3;
inline constexpr int16_t kInches = 5;
inline constexpr int16_t kMillimeters = 6;
inline constexpr int16_t kCentimeters = 7;
inline constexpr int16_t kContainerPosition = 9;
inline constexpr int16_t kContainerSize = 10;
} // namespace scale

// Colours in the OLE form: a set top bit names a system colour by its index in the low byte.
namespace olecolor {
inline constexpr uint32_t kSystemFlag = 0x80000000u;
inline constexpr uint32_t kWindowBackground = 0x80000005u;
inline constexpr uint32_t kWindowText = 0x80000008u;
} // namespace olecolor

class ControlHost {
public:
    virtual ~ControlHost() = default;

    // Marks the named property of the control as changed, so that the host saves it.
    virtual void PropertyChanged(std::u16string_view propertyName) = 0;

    // Ambient properties of the container, read anew at every call.
    virtual int32_t AmbientLocaleID() = 0;
    virtual bool AmbientUserMode() = 0;
    virtual FontPtr AmbientFont() = 0;

    // The control's own coordinate scale and conversions between scales.
    virtual int16_t ScaleMode() = 0;
    virtual float ScaleX(float value, int16_t fromScale, int16_t toScale) = 0;
    virtual float ScaleY(float value, int16_t fromScale, int16_t toScale) = 0;

    // The control's extent in its own scale, and a change of it.
    virtual float ControlWidth() = 0;
    virtual float ControlHeight() = 0;
    virtual void SetControlSize(float width, float height) = 0;

    // Asks for the control to be drawn again.
    virtual void Refresh() = 0;
};

} // namespace relingo
