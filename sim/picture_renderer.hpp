// The virtual board's TV monitor picture, drawn from its state alone.
#pragma once

#include <cstdint>

#include "sim/board_state.hpp"
#include "sim/picture.hpp"

namespace sim {

// Where a tile record lands in a picture of HEIGHT lines: the record's
// rectangle is in NTSC lines, so a PAL picture stretches it to its height.
// Edges are not clipped to the picture.
struct TileRect {
    std::int64_t left, top, right, bottom;  // right and bottom exclusive
};
TileRect PlaceTile(const TileSpec& tile, int height);

// Draws the picture at picture time TIME_MS (moving cameras move with it):
// 720 x 480 for NTSC, 720 x 576 for PAL; black while the board is not running
// and outside every tile. Each tile samples its camera's 720 x 480 picture at
// the nearest pixel; later tiles cover earlier ones.
void RenderPicture(const BoardState& state, std::int64_t timeMs, Picture& picture);

}  // namespace sim
