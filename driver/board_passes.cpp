#include "driver/board_passes.hpp"

#include "app/control_ids.hpp"
#include "driver/driver_table.hpp"

namespace {
constexpr int kAttributeSliders[] = {ctl::BrightnessSlider, ctl::ContrastSlider, ctl::HueSlider,
                                     ctl::SaturationSlider};
}

void ChannelEnablePass() {
    for (int ch = 0; ch < kChannelCount; ++ch)
        CallDriver(driverTable.OvrEnableChannel, ch, panelState.cameraEnable[ch] == 1 ? 1 : 0);
}

void AttributePass() {
    for (int ch = 0; ch < kChannelCount; ++ch) {
        const ChannelAttributes& a = panelState.attributes[ch];
        CallDriver(driverTable.OvrSetBrightness, ch, a.brightness);
        CallDriver(driverTable.OvrSetContrast, ch, a.contrast);
        CallDriver(driverTable.OvrSetHue, ch, a.hue);
        CallDriver(driverTable.OvrSetSaturationU, ch, a.saturation);
        CallDriver(driverTable.OvrSetSaturationV, ch, a.saturation);
    }
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
