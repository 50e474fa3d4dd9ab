// What the board sequences need of the split-screen layouts. The layout
// subsystem builds on the driver, so it hands these steps to the sequences
// instead of the sequences reaching up to it.
#pragma once

#include "platform/dialog_controls.hpp"
#include "settings/panel_state.hpp"

struct LayoutSteps {
    // Selects the "Apply" radio of the layout with this code (the "DIV 16" one
    // for a code that is none of the eight); no other radio changes.
    void (*selectSavedLayoutRadio)(DialogControls& controls, LayoutCode code);
    // Reads the saved tile positions, fills the saved layout's table, shows it
    // in its tile boxes and sends it; falls back to the 16-tile layout.
    void (*restoreSavedLayout)(DialogControls& controls);
    // The 16-tile layout with camera i in tile i, sent to the board.
    void (*resetToDefaultLayout)();
    // Selects the "DIV 16" radio and deselects the other "Apply" radios.
    void (*selectDefaultLayoutRadioAlone)(DialogControls& controls);
};
