// The eight split-screen layouts as one table of data: each layout's tiles in
// tile order with their size code and rectangle in the TV picture, the end
// mark's size code, the dialog's "Apply" radio and tile boxes, and the camera
// each tile falls back to when its box holds no camera number from 1 to 16.
#pragma once

#include <array>
#include <cstdint>
#include <span>

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
}  // namespace layout_detail

inline constexpr std::array<LayoutSpec, 8> kLayouts = [] {
    using namespace layout_detail;
    std::array<LayoutSpec, 8> l{};
    l[0] = {1, 16, 0, 1008, {Full(0, 0)}, {1104}, kOwnTile};
    l[1] = {4, 16, 1, 1009,
            {Half(0, 0), Half(336, 0), Half(0, 232), Half(336, 232)},
            {1092, 1093, 1102, 1103}, kOwnTile};
    // Layouts 6 and 8: the bottom row falls back clockwise around the large tile.
    l[2] = {6, 16, 2, 1010,
            {TwoThirds(0, 0), Third(448, 0), Third(448, 156), Third(0, 312), Third(224, 312), Third(448, 312)},
            {1061, 1111, 1114, 1115, 1116, 1117},
            {0, 1, 2, 5, 4, 3}};
    l[3] = {8, 16, 3, 1011,
            {ThreeQuarters(0, 0), Quarter(504, 0), Quarter(504, 116), Quarter(504, 232), Quarter(0, 348),
             Quarter(168, 348), Quarter(336, 348), Quarter(504, 348)},
            {1076, 1079, 1083, 1087, 1088, 1089, 1090, 1091},
            {0, 1, 2, 3, 7, 6, 5, 4}};
    l[4] = {9, 16, 2, 1012,
            {Third(0, 0), Third(224, 0), Third(448, 0), Third(0, 156), Third(224, 156), Third(448, 156),
             Third(0, 312), Third(224, 312), Third(448, 312)},
            {1118, 1119, 1120, 1121, 1122, 1123, 1124, 1125, 1126}, kOwnTile};
    // Layout 10's rows lie at 236 and 352, as layout 16's do.
    l[5] = {10, 16, 3, 1013,
            {Half(0, 0, 236), Half(336, 0, 236), Quarter(0, 236), Quarter(168, 236), Quarter(336, 236),
             Quarter(504, 236), Quarter(0, 352), Quarter(168, 352), Quarter(336, 352), Quarter(504, 352)},
            {1060, 1062, 1068, 1069, 1070, 1071, 1072, 1073, 1074, 1075}, kOwnTile};
    l[6] = {13, 16, 3, 1016,
            {Half(0, 0), Quarter(336, 0), Quarter(504, 0), Quarter(336, 116), Quarter(504, 116), Quarter(0, 232),
             Quarter(168, 232), Quarter(336, 232), Quarter(504, 232), Quarter(0, 348), Quarter(168, 348),
             Quarter(336, 348), Quarter(504, 348)},
            {1095, 1096, 1097, 1098, 1099, 1100, 1101, 1105, 1106, 1107, 1108, 1109, 1110}, kOwnTile};
    l[7] = {16, 17, 3, 1014, {}, {}, kOwnTile};
    constexpr int kRows16[] = {0, 116, 236, 352};
    for (int tile = 0; tile < 16; ++tile) {
        l[7].tiles[tile] = Quarter(168 * (tile % 4), kRows16[tile / 4]);
        l[7].tileBoxes[tile] = 1044 + tile;
    }
    return l;
}();

// The layout with this tile count, or nullptr when it is none of the eight.
constexpr const LayoutSpec* FindLayout(LayoutCode code) {
    for (const LayoutSpec& layout : kLayouts)
        if (layout.code == code) return &layout;
    return nullptr;
}
