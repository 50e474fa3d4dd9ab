#include "app/process_state.hpp"

#include "driver/board_sequences.hpp"
#include "layout/layout_tables.hpp"
#include "settings/panel_state.hpp"

void ResetProcessState() {
    ResetDriver();
    ResetLayoutTables();
    ResetPanelState();
}
