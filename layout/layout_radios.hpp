// The "Apply" radios as the start-up and the video-standard change set them.
#pragma once

#include "dialog/dialog_controls.hpp"
#include "settings/panel_state.hpp"

// Selects the "Apply" radio of the layout with this code (the "DIV 16" one for
// a code that is none of the eight); no other radio changes.
void SelectSavedLayoutRadio(DialogControls& controls, LayoutCode code);

// Selects the "DIV 16" radio and deselects the other "Apply" radios.
void SelectDefaultLayoutRadioAlone(DialogControls& controls);
