// The eight layout editors: the operator types a camera number into each tile
// box of a layout group and presses the group's "Apply" radio.
#pragma once

#include "dialog/dialog_controls.hpp"
#include "settings/panel_state.hpp"

// The "Apply" of the layout with this tile count (one of the eight): reads and
// corrects the group's tile boxes, refuses a camera shown twice, otherwise
// sends the layout and makes it the current one.
void ApplyLayout(DialogControls& controls, LayoutCode code);
