#include "settings/panel_state.hpp"

// Zero at process start, except the tile-to-camera map.
PanelState panelState{0, 0, {}, {}, kInitialPositionMap};
