// The panel's own icon, from the program's resources.
#pragma once

#include "app/dialog_window.hpp"

// The icon for the template's icon resource; nullptr for any other id. It
// lives until the process ends.
IconHandle LoadPanelIcon(int resourceId);
