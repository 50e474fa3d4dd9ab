// What the board's picture should hold, worked out here from the tile records
// and the decoder's formulas in floating point, apart from the renderer's code.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>
#include <vector>

#include "layout/layout_specs.hpp"

#include "sim/board_state.hpp"
#include "sim/camera_pictures.hpp"
#include "sim/picture.hpp"

namespace expected {

struct Rect {
    std::int64_t left, top, right, bottom;
    bool Contains(std::int64_t x, std::int64_t y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// A record's rectangle in a picture of HEIGHT lines: its NTSC lines scaled to
// that height, to the nearest line.
inline Rect TileRect(const TileSpec& tile, int height) {
    auto line = [height](std::int64_t ntscLine) {
        return static_cast<std::int64_t>(std::floor(static_cast<double>(ntscLine) * height / 480.0 + 0.5));
    };
    return {tile.x, line(tile.y), std::int64_t{tile.x} + tile.width, line(std::int64_t{tile.y} + tile.height)};
}

// The camera pixel a tile shows at picture pixel (x, y): nearest-pixel scaling
// of the 720 x 480 camera picture to the tile.
struct CameraPoint {
    int x, y;
};
inline CameraPoint SourceOf(const Rect& r, std::int64_t x, std::int64_t y) {
    return {static_cast<int>((x - r.left) * 720 / (r.right - r.left)), static_cast<int>((y - r.top) * 480 / (r.bottom - r.top))};
}

// The tile drawn at (x, y), the last record that covers it, if any.
inline std::optional<int> TileAt(const sim::BoardState& s, int height, std::int64_t x, std::int64_t y) {
    std::optional<int> found;
    for (int i = 0; i < s.tileCount; ++i)
        if (TileRect(s.tiles[i], height).Contains(x, y)) found = i;
    return found;
}

inline int Clamp255(double v) { return static_cast<int>(std::clamp(std::floor(v + 0.5), 0.0, 255.0)); }

// A video decoder's picture controls in Y'CbCr (full range, BT.601).
inline sim::Rgb Decode(sim::Rgb in, const sim::ChannelSettings& s) {
    auto limit = [](std::int32_t v) { return static_cast<double>(std::clamp(v, 0, 255)); };
    const double r = in.r, g = in.g, b = in.b;
    double y = 0.299 * r + 0.587 * g + 0.114 * b;
    const double cb = -0.168736 * r - 0.331264 * g + 0.5 * b;
    const double cr = 0.5 * r - 0.418688 * g - 0.081312 * b;
    y = y * limit(s.contrast) / 180.0 + (limit(s.brightness) - 100.0);
    const double angle = (limit(s.hue) - 128.0) * std::numbers::pi / 128.0;
    const double cb2 = (cb * std::cos(angle) - cr * std::sin(angle)) * limit(s.saturationU) / 128.0;
    const double cr2 = (cb * std::sin(angle) + cr * std::cos(angle)) * limit(s.saturationV) / 128.0;
    return {static_cast<std::uint8_t>(Clamp255(y + 1.402 * cr2)),
            static_cast<std::uint8_t>(Clamp255(y - 0.344136 * cb2 - 0.714136 * cr2)),
            static_cast<std::uint8_t>(Clamp255(y + 1.772 * cb2))};
}

// The whole picture pixel: black outside every tile and for a channel the
// board lacks, the grey card for a disabled channel, the decoded camera else.
inline sim::Rgb Pixel(const sim::BoardState& s, int height, int x, int y, std::int64_t timeMs = 0) {
    if (!s.Showing()) return {0, 0, 0};
    const std::optional<int> tile = TileAt(s, height, x, y);
    if (!tile) return {0, 0, 0};
    const TileSpec& t = s.tiles[*tile];
    if (t.channel >= 16) return {0, 0, 0};
    const CameraPoint p = SourceOf(TileRect(t, height), x, y);
    if (s.channels[t.channel].enabled == 0) return sim::NoVideoPixel(t.channel, p.x, p.y);
    return Decode(sim::CameraPixel(t.channel, p.x, p.y, timeMs), s.channels[t.channel]);
}

inline int Difference(sim::Rgb a, sim::Rgb b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

inline TileSpec TileRecord(int channel, const TileGeometry& g) {
    return {static_cast<std::uint8_t>(channel), {}, g.scale, g.x, g.y, g.width, g.height};
}

// A running board showing CHANNELS in the first tiles of layout LAYOUT (one of
// the panel's eight), every channel on with the decoder's defaults.
inline sim::BoardState RunningBoard(std::int32_t standard, int layout, const std::vector<int>& channels) {
    sim::BoardState s{};
    s.setUp = s.running = s.capturing = 1;
    s.standard = standard;
    std::fill(std::begin(s.channels), std::end(s.channels), sim::kChannelDefaults);
    s.tileCount = static_cast<int>(channels.size());
    for (std::size_t i = 0; i < channels.size(); ++i) s.tiles[i] = TileRecord(channels[i], FindLayout(layout)->tiles[i]);
    return s;
}

// Channel i in tile i.
inline std::vector<int> OwnChannels(int count) {
    std::vector<int> channels;
    for (int i = 0; i < count; ++i) channels.push_back(i);
    return channels;
}

struct Comparison {
    int tolerance = 0;
    std::int64_t timeMs = 0;
    bool skipMovingCameras = false;  // for pictures drawn at a time of their own
};

// How many pixels of a picture (AT(x, y) gives one) differ from what STATE
// should show by more than the tolerance; the first three are reported.
template <typename PixelAt>
int Mismatches(int width, int height, PixelAt at, const sim::BoardState& state, Comparison how = {}) {
    int mismatches = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (how.skipMovingCameras) {
                const std::optional<int> tile = TileAt(state, height, x, y);
                const int channel = tile ? state.tiles[*tile].channel : -1;
                if (channel == 2 || channel == 3 || channel == 11) continue;
            }
            const sim::Rgb want = Pixel(state, height, x, y, how.timeMs), got = at(x, y);
            if (Difference(want, got) > how.tolerance && ++mismatches <= 3)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << +got.r << ',' << +got.g << ',' << +got.b
                              << " instead of " << +want.r << ',' << +want.g << ',' << +want.b;
        }
    }
    return mismatches;
}

inline int Mismatches(const sim::Picture& picture, const sim::BoardState& state, Comparison how = {}) {
    return Mismatches(picture.width, picture.height, [&picture](int x, int y) { return picture.At(x, y); }, state, how);
}

}  // namespace expected
