#include "channels/attribute_sliders.hpp"

#include "dialog/control_ids.hpp"

namespace {
constexpr int kAttributeSliders[] = {ctl::BrightnessSlider, ctl::ContrastSlider, ctl::HueSlider,
                                     ctl::SaturationSlider};
}

void SliderSetUp(DialogControls& controls) {
    for (int slider : kAttributeSliders) {
        controls.SetSliderRangeMin(slider, 0, true);
        controls.SetSliderRangeMax(slider, 255, true);
        controls.SetSliderLineSize(slider, 5);
    }
}

void ShowOnSliders(DialogControls& controls, const ChannelAttributes& values) {
    controls.SetSliderPos(ctl::BrightnessSlider, values.brightness, true);
    controls.SetSliderPos(ctl::ContrastSlider, values.contrast, true);
    controls.SetSliderPos(ctl::HueSlider, values.hue, true);
    controls.SetSliderPos(ctl::SaturationSlider, values.saturation, true);
}
