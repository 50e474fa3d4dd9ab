#include "settings/panel_state.hpp"

PanelState panelState = kInitialPanelState;

void ResetPanelState() { panelState = kInitialPanelState; }
