// The layout steps the board sequences take at start-up and at a change of
// video standard.
#pragma once

#include "driver/layout_steps.hpp"

const LayoutSteps& BoardLayoutSteps();
