#include "monitor/stopped_card.hpp"

#include <algorithm>
#include <string_view>

#include "sim/bitmap_font.hpp"
#include "sim/board_state.hpp"

namespace {

void DrawText(sim::Picture& picture, std::string_view text, int scale, int top, std::uint8_t grey) {
    const int left = (picture.width - sim::TextWidth(text, scale)) / 2;
    for (int y = top; y < top + sim::TextHeight(scale) && y < picture.height; ++y) {
        sim::Rgb* row = picture.Row(y);
        for (int x = std::max(left, 0); x < std::min(left + sim::TextWidth(text, scale), picture.width); ++x)
            if (sim::TextDot(text, scale, x - left, y - top)) row[x] = {grey, grey, grey};
    }
}

}  // namespace

void DrawStoppedCard(sim::Picture& picture, bool boardLoaded) {
    picture.Resize(sim::kPictureWidth, sim::kNtscHeight);
    DrawText(picture, "BOARD STOPPED", 6, 190, 200);
    if (!boardLoaded) DrawText(picture, "NO PANEL RUNNING", 3, 260, 120);
}
