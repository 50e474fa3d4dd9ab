// What the monitor shows while the board shows nothing: black, with a grey
// "BOARD STOPPED" (and "NO PANEL RUNNING" when no virtual board is loaded).
#pragma once

#include "sim/picture.hpp"

void DrawStoppedCard(sim::Picture& picture, bool boardLoaded);
