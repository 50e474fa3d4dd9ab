// The four attribute sliders as the board sequences and the channel controls
// set them up and move them.
#pragma once

#include "dialog/dialog_controls.hpp"
#include "settings/panel_state.hpp"

// Range 0..255 and arrow-key step 5 on the four attribute sliders.
void SliderSetUp(DialogControls& controls);

// The four attribute sliders moved to these values.
void ShowOnSliders(DialogControls& controls, const ChannelAttributes& values);
