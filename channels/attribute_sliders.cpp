#include "channels/attribute_sliders.hpp"

#include "dialog/control_ids.hpp"

namespace {
constexpr int kAttributeSliders[] = {ids::BrightnessSlider, ids::ContrastSlider, ids::HueSlider,
                                     ids::SaturationSlider};
}

void SliderSetUp(DialogControls& controls) {
    for (int slider : kAttributeSliders) {
        controls.SetSliderRangeMin(slider, 0, true);
        controls.SetSliderRangeMax(slider, 255, true);
        controls.SetSliderLineSize(slider, 5);
    }
}

void ShowOnSliders(DialogControls& controls, const ChannelAttributes& values) {
    controls.SetSliderPos(ids::BrightnessSlider, values.brightness, true);
    controls.SetSliderPos(ids::ContrastSlider, values.contrast, true);
    controls.SetSliderPos(ids::HueSlider, values.hue, true);
    controls.SetSliderPos(ids::SaturationSlider, values.saturation, true);
}
