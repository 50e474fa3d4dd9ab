// The "Video enable" group: one check box per channel, "All on" and "All off".
#pragma once

#include "dialog/dialog_controls.hpp"

// The operator clicked the Cam box of CHANNEL (0..15): the box has already
// flipped, and its state goes to the channel.
void CamClicked(DialogControls& controls, int channel);

// "All on" (STATE 1) or "All off" (STATE 0): every box and every channel.
void SwitchAllChannels(DialogControls& controls, int state);
