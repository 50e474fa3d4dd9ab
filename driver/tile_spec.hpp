// One tile of a split-screen layout, exactly as the board's driver reads it.
#pragma once

#include <cstddef>
#include <cstdint>

struct TileSpec {
    std::uint8_t channel;      // camera channel 0..15; 255 marks the end of a table
    std::uint8_t reserved[3];  // always zero
    std::int32_t scale;        // size code 0..5
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
};

static_assert(sizeof(TileSpec) == 24);
static_assert(offsetof(TileSpec, channel) == 0);
static_assert(offsetof(TileSpec, scale) == 4);
static_assert(offsetof(TileSpec, x) == 8);
static_assert(offsetof(TileSpec, y) == 12);
static_assert(offsetof(TileSpec, width) == 16);
static_assert(offsetof(TileSpec, height) == 20);

inline constexpr std::uint8_t kEndMark = 255;
