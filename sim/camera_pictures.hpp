// The sixteen synthetic cameras feeding the virtual board, each recognisable at
// a glance and labelled with its camera number (1-based, as the operator sees
// it), and the grey "NO VIDEO" card of a disabled channel. Each is a 720 x 480
// picture; a tile samples it at the columns and lines it needs.
#pragma once

#include <cstdint>
#include <span>

#include "sim/picture.hpp"

namespace sim {

inline constexpr int kCameraWidth = 720;
inline constexpr int kCameraHeight = 480;

// Where a camera's number label stands in its picture: white dots of
// kLabelScale pixels on a black box.
inline constexpr int kLabelLeft = 16, kLabelTop = 16, kLabelPadding = 12, kLabelScale = 8;

// Line LINE of channel CHANNEL's camera (0..15) at picture time TIME_MS,
// sampled at COLUMNS into OUT. Cameras 3, 4 and 12 move with time.
void CameraLine(int channel, int line, std::int64_t timeMs, std::span<const int> columns, Rgb* out);
Rgb CameraPixel(int channel, int x, int y, std::int64_t timeMs);

// The same for the card a disabled channel shows: greys only.
void NoVideoLine(int channel, int line, std::span<const int> columns, Rgb* out);
Rgb NoVideoPixel(int channel, int x, int y);

}  // namespace sim
