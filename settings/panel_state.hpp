// The settings model: one process-wide instance of plain data that the handlers
// read and change directly, and that the settings file persists.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int kChannelCount = 16;

using VideoStandard = std::int32_t;  // 0 = NTSC, 1 = PAL; held as the integer read
using LayoutCode = std::int32_t;     // tile count of the layout last sent

// Entry i is the camera channel of tile i of the layout last applied or
// restored; entries 0..15 are persisted.
using PositionMap = std::array<std::int32_t, 17>;

struct ChannelAttributes {
    std::int32_t brightness;
    std::int32_t contrast;
    std::int32_t hue;
    std::int32_t saturation;
};

inline constexpr ChannelAttributes DefaultAttributes{100, 180, 128, 128};

struct PanelState {
    VideoStandard videoStandard;
    LayoutCode layoutCode;
    std::array<std::int32_t, kChannelCount> cameraEnable;
    std::array<ChannelAttributes, kChannelCount> attributes;
    PositionMap positionMap;
};

inline constexpr PositionMap kInitialPositionMap{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0};

// Zero at process start, except the tile-to-camera map.
inline constexpr PanelState kInitialPanelState{0, 0, {}, {}, kInitialPositionMap};

extern PanelState panelState;

// Puts the settings model back to its process-start values.
void ResetPanelState();
