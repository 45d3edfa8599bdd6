// The test backend of the control host: records change notifications and offers ambient
// properties and a scale that tests set.
#pragma once

#include "platform/HostServices.h"

#include <string>
#include <vector>

namespace relingo::test {

class FakeHost : public ControlHost {
public:
    FakeHost() : ambientFont_(std::make_shared<Font>()) {}

    std::vector<std::u16string> changed; // PropertyChanged names, in order
    int32_t localeId = 1033;
    bool userMode = true;
    int16_t scaleMode = scale::kTwips;
    // Factor from the control's scale to the container's, applied by ScaleX and ScaleY.
    float scaleFactorX = 1.0f;
    float scaleFactorY = 1.0f;
    float width = 0;
    float height = 0;
    int refreshes = 0;
    FontPtr ambientFont_;

    void PropertyChanged(std::u16string_view propertyName) override {
        changed.emplace_back(propertyName);
    }
    int32_t AmbientLocaleID() override { return localeId; }
    bool AmbientUserMode() override { return userMode; }
    FontPtr AmbientFont() override { return ambientFont_; }
    int16_t ScaleMode() override { return scaleMode; }
    float ScaleX(float value, int16_t, int16_t) override { return value * scaleFactorX; }
    float ScaleY(float value, int16_t, int16_t) override { return value * scaleFactorY; }
    float ControlWidth() override { return width; }
    float ControlHeight() override { return height; }
    void SetControlSize(float w, float h) override {
        width = w;
        height = h;
    }
    void Refresh() override { ++refreshes; }
};

} // namespace relingo::test
