#include "driver/board_passes.hpp"

#include "driver/driver_table.hpp"

void ChannelEnablePass() {
    for (int ch = 0; ch < kChannelCount; ++ch)
        CallDriver(driverTable.OvrEnableChannel, ch, panelState.cameraEnable[ch] == 1 ? 1 : 0);
}

void SendAttributes(int channel, const ChannelAttributes& values) {
    CallDriver(driverTable.OvrSetBrightness, channel, values.brightness);
    CallDriver(driverTable.OvrSetContrast, channel, values.contrast);
    CallDriver(driverTable.OvrSetHue, channel, values.hue);
    CallDriver(driverTable.OvrSetSaturationU, channel, values.saturation);
    CallDriver(driverTable.OvrSetSaturationV, channel, values.saturation);
}

void AttributePass() {
    for (int ch = 0; ch < kChannelCount; ++ch) SendAttributes(ch, panelState.attributes[ch]);
}
