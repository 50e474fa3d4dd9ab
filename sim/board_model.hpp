// The virtual board's model: its state follows the driver calls alone, and
// every call the board's protocol does not allow is described, so the stand-in
// can report it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "sim/board_state.hpp"

namespace sim {

// One value per driver entry point, in the driver list's order.
enum class Entry {
#define KORVANE16_DRIVER_ENTRY(name, params, args) name,
#include "driver/driver_entries.inc"
#undef KORVANE16_DRIVER_ENTRY
};

const char* EntryName(Entry entry);

class BoardModel {
public:
    BoardModel();

    // Applies a call with 32-bit arguments. Returns what was out of protocol,
    // beginning with the entry point's name, or "" when the call was in order.
    std::string Receive(Entry entry, std::span<const std::int32_t> arguments);
    // Applies OvrSetDisplayFormatForTV: the table's records are copied now, up
    // to its end mark, since the caller keeps changing its table.
    std::string ReceiveLayout(const TileSpec* table);

    const BoardState& State() const { return state_; }

private:
    std::string NotSetUp(Entry entry) const;
    std::string SetChannel(Entry entry, std::span<const std::int32_t> arguments);

    BoardState state_{};
    bool everSetUp_ = false;
};

}  // namespace sim
