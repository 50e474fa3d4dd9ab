// The panel's process-wide data as one whole.
#pragma once

// Puts every process-wide datum back to its process-start value: the settings
// model and what the settings file has told, the layout tables and tile map,
// the driver table (a driver still loaded is released), the start-up's
// once-only flag and the launch options. A process may then run the panel
// again as if it had just started.
void ResetProcessState();
