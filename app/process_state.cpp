#include "app/process_state.hpp"

#include "app/launch_options.hpp"
#include "layout/layout_tables.hpp"
#include "platform/diagnostics.hpp"
#include "sequences/board_sequences.hpp"
#include "settings/panel_state.hpp"
#include "settings/settings_file.hpp"

void ResetProcessState() {
    ResetBoardSequences();
    ResetLayoutTables();
    ResetPanelState();
    launchOptions = LaunchOptions{};
    ResetSettingsFile();
    platform::TakeOperatorWarnings();  // what an earlier run had to say
}
