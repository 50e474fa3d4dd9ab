// What the virtual board holds, as plain data: the model keeps it, the stand-in
// publishes it to the monitor, and the renderer draws the TV picture from it.
#pragma once

#include <cstdint>
#include <type_traits>

#include "driver/tile_spec.hpp"

namespace sim {

inline constexpr int kChannelCount = 16;
// A layout table's end mark must lie within its first records.
inline constexpr int kMostRecords = 32;

// The picture: 720 x 480 (NTSC) or 720 x 576 (PAL); tile records place their
// tiles in NTSC lines whatever the standard.
inline constexpr int kPictureWidth = 720;
inline constexpr int kNtscHeight = 480;
inline constexpr int kPalHeight = 576;

inline constexpr std::int32_t kNtsc = 0;
inline constexpr std::int32_t kPal = 1;

constexpr int PictureHeight(std::int32_t standard) { return standard == kPal ? kPalHeight : kNtscHeight; }

// One decoder channel: on or off, and the five picture attributes as sent
// (values outside 0..255 are kept as sent and clamped when drawn).
struct ChannelSettings {
    std::int32_t enabled;
    std::int32_t brightness, contrast, hue, saturationU, saturationV;
};

// A decoder's own settings after set-up; the panel's defaults are the same.
inline constexpr ChannelSettings kChannelDefaults{1, 100, 180, 128, 128, 128};

struct BoardState {
    std::int32_t setUp;      // between OvrSetup and OvrEndup
    std::int32_t running;    // between OvrRun and OvrStop: the monitor shows the layout
    std::int32_t capturing;  // between OvrCaptureStart and OvrCaptureStop
    std::int32_t standard;   // kNtsc or kPal
    std::int32_t edgeEnhance;
    std::int32_t tileCount;  // records before the end mark of the last table sent
    ChannelSettings channels[kChannelCount];
    TileSpec tiles[kMostRecords];

    bool Showing() const { return setUp != 0 && running != 0; }
};

// Shared between processes as raw bytes.
static_assert(std::is_trivially_copyable_v<BoardState>);

}  // namespace sim
