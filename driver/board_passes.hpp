// The passes that send the settings model to the board as a whole.
#pragma once

#include "app/dialog_controls.hpp"
#include "settings/panel_state.hpp"

// OvrEnableChannel for channel 0..15: on only when its flag is exactly 1.
void ChannelEnablePass();

// The five attribute calls for channel 0..15 in order; the one saturation value
// goes to both U and V.
void AttributePass();

// Range 0..255 and arrow-key step 5 on the four attribute sliders.
void SliderSetUp(DialogControls& controls);

// The four attribute sliders moved to these values.
void ShowOnSliders(DialogControls& controls, const ChannelAttributes& values);
