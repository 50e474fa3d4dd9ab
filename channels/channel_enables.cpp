#include "channels/channel_enables.hpp"

#include "dialog/control_ids.hpp"
#include "driver/driver_table.hpp"
#include "settings/panel_state.hpp"

void CamClicked(DialogControls& controls, int channel) {
    if (!DriverLoaded()) return;
    // The box has already been flipped: its state is the operator's choice.
    const int state = controls.GetCheck(ids::CamBox(channel));
    if (state != 0 && state != 1) return;
    panelState.cameraEnable[channel] = state;
    CallDriver(driverTable.OvrEnableChannel, channel, state);
}

void SwitchAllChannels(DialogControls& controls, int state) {
    if (!DriverLoaded()) return;
    // Ticking by program raises no click, so no Cam box handler runs here.
    for (int ch = 0; ch < kChannelCount; ++ch) controls.SetCheck(ids::CamBox(ch), state);
    for (int ch = 0; ch < kChannelCount; ++ch) {
        panelState.cameraEnable[ch] = state;
        CallDriver(driverTable.OvrEnableChannel, ch, state);
    }
}
