// The session's panel claim for a command that must not work beside a running
// panel: that panel would program the board under it, or overwrite at its
// close what the command wrote.
#pragma once

#include <memory>
#include <ostream>
#include <string_view>

#include "platform/panel_instance.hpp"

// The claim, held until it is destroyed (a panel started meanwhile stops), or
// nullptr with one line on ERR when a panel runs (WHY says what it would undo)
// or the claim cannot be made.
std::unique_ptr<platform::PanelInstance> ClaimSession(std::string_view why, std::ostream& err);
