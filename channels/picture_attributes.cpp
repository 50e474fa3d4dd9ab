// The "Attribute" group: four sliders tune the picture of the channel named in
// the Channel box; "Default" resets that channel, "Set all" copies the sliders
// to every channel.
#include "app/control_ids.hpp"
#include "app/operator_number.hpp"
#include "app/panel_dlg.hpp"
#include "driver/board_passes.hpp"
#include "driver/driver_table.hpp"
#include "settings/panel_state.hpp"

namespace {
// The Channel box is read into a buffer of 10 characters: at most 9 are taken.
constexpr int kChannelBoxBuffer = 10;
}  // namespace

int CTvPanelDlg::ReadTunedChannel() {
    const std::int64_t channel = std::int64_t{ReadOperatorNumber(Controls().GetText(ctl::ChannelBox, kChannelBoxBuffer))} - 1;
    return channel < 0 || channel > 15 ? 0 : static_cast<int>(channel);
}

// A slider's position reaches the tuned channel when the operator ends a mouse
// action on it, also when the thumb did not move.
void CTvPanelDlg::ApplySliderRelease(int slider, std::int32_t ChannelAttributes::*field,
                                     std::initializer_list<SetAttributeEntry> entries) {
    if (!DriverLoaded()) return;
    const int position = Controls().GetSliderPos(slider);
    const int channel = ReadTunedChannel();
    for (SetAttributeEntry entry : entries) CallDriver(entry, channel, position);
    panelState.attributes[channel].*field = position;
}

void CTvPanelDlg::OnBrightnessReleased(std::intptr_t* result) {
    ApplySliderRelease(ctl::BrightnessSlider, &ChannelAttributes::brightness, {driverTable.OvrSetBrightness});
    *result = 0;
}
void CTvPanelDlg::OnContrastReleased(std::intptr_t* result) {
    ApplySliderRelease(ctl::ContrastSlider, &ChannelAttributes::contrast, {driverTable.OvrSetContrast});
    *result = 0;
}
void CTvPanelDlg::OnHueReleased(std::intptr_t* result) {
    ApplySliderRelease(ctl::HueSlider, &ChannelAttributes::hue, {driverTable.OvrSetHue});
    *result = 0;
}
void CTvPanelDlg::OnSaturationReleased(std::intptr_t* result) {
    ApplySliderRelease(ctl::SaturationSlider, &ChannelAttributes::saturation,
                       {driverTable.OvrSetSaturationU, driverTable.OvrSetSaturationV});
    *result = 0;
}

void CTvPanelDlg::OnChannelUpdate() {}

void CTvPanelDlg::OnChannelChange() { ShowOnSliders(Controls(), panelState.attributes[ReadTunedChannel()]); }

void CTvPanelDlg::OnDefault() {
    if (!DriverLoaded()) return;
    ShowOnSliders(Controls(), DefaultAttributes);
    const int channel = ReadTunedChannel();
    CallDriver(driverTable.OvrSetBrightness, channel, DefaultAttributes.brightness);
    CallDriver(driverTable.OvrSetContrast, channel, DefaultAttributes.contrast);
    CallDriver(driverTable.OvrSetHue, channel, DefaultAttributes.hue);
    CallDriver(driverTable.OvrSetSaturationU, channel, DefaultAttributes.saturation);
    CallDriver(driverTable.OvrSetSaturationV, channel, DefaultAttributes.saturation);
    panelState.attributes[channel] = DefaultAttributes;
}

void CTvPanelDlg::OnSetAll() {
    if (!DriverLoaded()) return;
    const ChannelAttributes shown{Controls().GetSliderPos(ctl::BrightnessSlider),
                                  Controls().GetSliderPos(ctl::ContrastSlider),
                                  Controls().GetSliderPos(ctl::HueSlider),
                                  Controls().GetSliderPos(ctl::SaturationSlider)};
    for (ChannelAttributes& channel : panelState.attributes) channel = shown;
    AttributePass();
}
