// The "Attribute" group: four sliders tune the picture of the channel named in
// the Channel box; "Default" resets that channel, "Set all" copies the sliders
// to every channel.
#pragma once

#include "dialog/dialog_controls.hpp"

enum class PictureAttribute { Brightness, Contrast, Hue, Saturation };

// The operator ended a mouse action on the attribute's slider: its position
// reaches the tuned channel, also when the thumb did not move.
void SliderReleased(DialogControls& controls, PictureAttribute attribute);

// The Channel box changed: the sliders show that channel's attributes.
void TunedChannelChanged(DialogControls& controls);

// "Default": the tuned channel and the sliders back to the default attributes.
void RestoreDefaultAttributes(DialogControls& controls);

// "Set all": every channel gets what the sliders show.
void SetAllChannelsToSliders(DialogControls& controls);

// The channel (0..15) the Channel box names; 0 for text that names none.
int ReadTunedChannel(DialogControls& controls);
