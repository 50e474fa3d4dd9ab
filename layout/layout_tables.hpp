// The eight driver tables, and the layout operations shared by the start-up,
// the video-standard change and the layout editors.
#pragma once

#include <span>

#include "dialog/dialog_controls.hpp"
#include "driver/tile_spec.hpp"
#include "layout/layout_specs.hpp"

// A layout's records as handed to the driver: the tiles, the end mark, and
// unread records up to the table's size. Each table is an array of its own of
// exactly that size, so a driver that reads past the end mark finds the unread
// records and then the end of the array, never another table.
struct LayoutTable {
    std::span<TileSpec> records;
};

// The table of the layout with this tile count (which must be one of the eight).
LayoutTable TableFor(const LayoutSpec& layout);

// Puts all eight tables back to their process-start contents.
void ResetLayoutTables();

// Sets each tile box of the layout, in tile order, to its tile's camera number.
void ShowTileChannels(DialogControls& controls, const LayoutSpec& layout);

// Start-up: reads the saved tile positions, fills the saved layout's table from
// them, shows them and sends the table; falls back to the 16-tile layout.
void RestoreSavedLayout(DialogControls& controls);

// The 16-tile layout with camera i in tile i, sent to the board.
void ResetToDefaultLayout();

// Sends the layout's table to the board.
void SendLayout(const LayoutSpec& layout);
