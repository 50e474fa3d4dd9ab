// The eight split-screen layouts as one table of data: each layout's tiles in
// tile order with their size code and rectangle in the TV picture, the end
// mark's size code, the dialog's "Apply" radio and tile boxes, and the camera
// each tile falls back to when its box holds no camera number from 1 to 16.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "dialog/control_ids.hpp"
#include "settings/panel_state.hpp"

struct TileGeometry {
    std::int32_t scale, x, y, width, height;
};

struct LayoutSpec {
    LayoutCode code;  // = the tile count
    int recordCount;  // records in the driver's table, the end mark included
    std::int32_t endMarkScale;
    int applyRadio;
    std::array<TileGeometry, 16> tiles;
    std::array<int, 16> tileBoxes;
    std::array<std::uint8_t, 16> fallbackChannels;

    constexpr int TileCount() const { return code; }
};

namespace layout_detail {
constexpr std::array<std::uint8_t, 16> kOwnTile{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

// Sizes paired with the size codes.
constexpr TileGeometry Full(int x, int y) { return {0, x, y, 684, 464}; }
constexpr TileGeometry Half(int x, int y, int height = 232) { return {1, x, y, 336, height}; }
constexpr TileGeometry Third(int x, int y) { return {2, x, y, 224, 156}; }
constexpr TileGeometry Quarter(int x, int y) { return {3, x, y, 168, 116}; }
constexpr TileGeometry TwoThirds(int x, int y) { return {4, x, y, 448, 312}; }
constexpr TileGeometry ThreeQuarters(int x, int y) { return {5, x, y, 504, 348}; }

template <std::size_t N>
constexpr std::array<int, 16> Boxes(const std::array<int, N>& tiles) {
    std::array<int, 16> boxes{};
    for (std::size_t i = 0; i < N; ++i) boxes[i] = tiles[i];
    return boxes;
}
}  // namespace layout_detail

inline constexpr std::array<LayoutSpec, 8> kLayouts = [] {
    using namespace layout_detail;
    std::array<LayoutSpec, 8> l{};
    l[0] = {1, 16, 0, ids::ApplyDiv1, {Full(0, 0)}, Boxes(ids::Div1Tiles), kOwnTile};
    l[1] = {4, 16, 1, ids::ApplyDiv4,
            {Half(0, 0), Half(336, 0), Half(0, 232), Half(336, 232)},
            Boxes(ids::Div4Tiles), kOwnTile};
    // Layouts 6 and 8: the bottom row falls back clockwise around the large tile.
    l[2] = {6, 16, 2, ids::ApplyDiv6,
            {TwoThirds(0, 0), Third(448, 0), Third(448, 156), Third(0, 312), Third(224, 312), Third(448, 312)},
            Boxes(ids::Div6Tiles),
            {0, 1, 2, 5, 4, 3}};
    l[3] = {8, 16, 3, ids::ApplyDiv8,
            {ThreeQuarters(0, 0), Quarter(504, 0), Quarter(504, 116), Quarter(504, 232), Quarter(0, 348),
             Quarter(168, 348), Quarter(336, 348), Quarter(504, 348)},
            Boxes(ids::Div8Tiles),
            {0, 1, 2, 3, 7, 6, 5, 4}};
    l[4] = {9, 16, 2, ids::ApplyDiv9,
            {Third(0, 0), Third(224, 0), Third(448, 0), Third(0, 156), Third(224, 156), Third(448, 156),
             Third(0, 312), Third(224, 312), Third(448, 312)},
            Boxes(ids::Div9Tiles), kOwnTile};
    // Layout 10's rows lie at 236 and 352, as layout 16's do.
    l[5] = {10, 16, 3, ids::ApplyDiv10,
            {Half(0, 0, 236), Half(336, 0, 236), Quarter(0, 236), Quarter(168, 236), Quarter(336, 236),
             Quarter(504, 236), Quarter(0, 352), Quarter(168, 352), Quarter(336, 352), Quarter(504, 352)},
            Boxes(ids::Div10Tiles), kOwnTile};
    l[6] = {13, 16, 3, ids::ApplyDiv13,
            {Half(0, 0), Quarter(336, 0), Quarter(504, 0), Quarter(336, 116), Quarter(504, 116), Quarter(0, 232),
             Quarter(168, 232), Quarter(336, 232), Quarter(504, 232), Quarter(0, 348), Quarter(168, 348),
             Quarter(336, 348), Quarter(504, 348)},
            Boxes(ids::Div13Tiles), kOwnTile};
    l[7] = {16, 17, 3, ids::ApplyDiv16, {}, Boxes(ids::Div16Tiles), kOwnTile};
    constexpr int kRows16[] = {0, 116, 236, 352};
    for (int tile = 0; tile < 16; ++tile) l[7].tiles[tile] = Quarter(168 * (tile % 4), kRows16[tile / 4]);
    return l;
}();

// The layout with this tile count, or nullptr when it is none of the eight.
constexpr const LayoutSpec* FindLayout(LayoutCode code) {
    for (const LayoutSpec& layout : kLayouts)
        if (layout.code == code) return &layout;
    return nullptr;
}
