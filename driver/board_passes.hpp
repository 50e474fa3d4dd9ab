// The passes that send the settings model to the board as a whole.
#pragma once

#include "settings/panel_state.hpp"

// OvrEnableChannel for channel 0..15: on only when its flag is exactly 1.
void ChannelEnablePass();

// The five attribute calls for one channel; the one saturation value goes to
// both U and V.
void SendAttributes(int channel, const ChannelAttributes& values);

// SendAttributes for channel 0..15 in order, each with its own values.
void AttributePass();
