#include "channels/picture_attributes.hpp"

#include <cstdint>

#include "channels/attribute_sliders.hpp"
#include "dialog/control_ids.hpp"
#include "dialog/operator_number.hpp"
#include "driver/board_passes.hpp"
#include "driver/driver_table.hpp"
#include "settings/panel_state.hpp"

namespace {

// The Channel box is read into a buffer of 10 characters: at most 9 are taken.
constexpr int kChannelBoxBuffer = 10;

// What each attribute's slider release changes: the slider, the field of the
// settings model, and the driver's setters (saturation goes to U and V alike).
struct SliderBinding {
    int slider;
    std::int32_t ChannelAttributes::*field;
    DriverTable::OvrSetBrightnessEntry DriverTable::*setters[2];
};

constexpr SliderBinding BindingOf(PictureAttribute attribute) {
    switch (attribute) {
        case PictureAttribute::Brightness:
            return {ids::BrightnessSlider, &ChannelAttributes::brightness, {&DriverTable::OvrSetBrightness}};
        case PictureAttribute::Contrast:
            return {ids::ContrastSlider, &ChannelAttributes::contrast, {&DriverTable::OvrSetContrast}};
        case PictureAttribute::Hue: return {ids::HueSlider, &ChannelAttributes::hue, {&DriverTable::OvrSetHue}};
        case PictureAttribute::Saturation:
            return {ids::SaturationSlider,
                    &ChannelAttributes::saturation,
                    {&DriverTable::OvrSetSaturationU, &DriverTable::OvrSetSaturationV}};
    }
    return {};
}

}  // namespace

int ReadTunedChannel(DialogControls& controls) {
    const std::int64_t channel =
        std::int64_t{ReadOperatorNumber(controls.GetText(ids::ChannelBox, kChannelBoxBuffer))} - 1;
    return channel < 0 || channel > 15 ? 0 : static_cast<int>(channel);
}

void SliderReleased(DialogControls& controls, PictureAttribute attribute) {
    if (!DriverLoaded()) return;
    const SliderBinding binding = BindingOf(attribute);
    const int position = controls.GetSliderPos(binding.slider);
    const int channel = ReadTunedChannel(controls);
    for (auto setter : binding.setters)
        if (setter != nullptr) CallDriver(driverTable.*setter, channel, position);
    panelState.attributes[channel].*binding.field = position;
}

void TunedChannelChanged(DialogControls& controls) {
    ShowOnSliders(controls, panelState.attributes[ReadTunedChannel(controls)]);
}

void RestoreDefaultAttributes(DialogControls& controls) {
    if (!DriverLoaded()) return;
    ShowOnSliders(controls, DefaultAttributes);
    const int channel = ReadTunedChannel(controls);
    SendAttributes(channel, DefaultAttributes);
    panelState.attributes[channel] = DefaultAttributes;
}

void SetAllChannelsToSliders(DialogControls& controls) {
    if (!DriverLoaded()) return;
    const ChannelAttributes shown{controls.GetSliderPos(ids::BrightnessSlider),
                                  controls.GetSliderPos(ids::ContrastSlider), controls.GetSliderPos(ids::HueSlider),
                                  controls.GetSliderPos(ids::SaturationSlider)};
    for (ChannelAttributes& channel : panelState.attributes) channel = shown;
    AttributePass();
}
