#include "sim/picture_renderer.hpp"

#include <algorithm>
#include <array>
#include <cstring>

#include "sim/camera_pictures.hpp"
#include "sim/video_decoder.hpp"

namespace sim {

namespace {

// floor(value * height / 480 + 1/2): the nearest line of the picture.
std::int64_t ScaleLine(std::int64_t value, int height) {
    const std::int64_t scaled = value * height + kNtscHeight / 2;
    return scaled >= 0 ? scaled / kNtscHeight : -((-scaled + kNtscHeight - 1) / kNtscHeight);
}

void DrawTile(const TileSpec& tile, const ChannelSettings* channels, std::int64_t timeMs, Picture& picture) {
    const TileRect rect = PlaceTile(tile, picture.height);
    const std::int64_t width = rect.right - rect.left, height = rect.bottom - rect.top;
    const int left = static_cast<int>(std::clamp<std::int64_t>(rect.left, 0, picture.width));
    const int right = static_cast<int>(std::clamp<std::int64_t>(rect.right, 0, picture.width));
    const int top = static_cast<int>(std::clamp<std::int64_t>(rect.top, 0, picture.height));
    const int bottom = static_cast<int>(std::clamp<std::int64_t>(rect.bottom, 0, picture.height));
    if (width <= 0 || height <= 0 || left >= right || top >= bottom) return;

    // The camera's columns this tile shows, the same on every line.
    std::array<int, kPictureWidth> columns{};
    const std::span<const int> shown(columns.data(), static_cast<std::size_t>(right - left));
    for (int x = left; x < right; ++x)
        columns[static_cast<std::size_t>(x - left)] = static_cast<int>((x - rect.left) * kCameraWidth / width);

    const int channel = tile.channel;
    const bool exists = channel < kChannelCount;
    const bool enabled = exists && channels[channel].enabled != 0;
    const DecoderTransform decoder = MakeDecoderTransform(exists ? channels[channel] : kChannelDefaults);
    std::array<Rgb, kPictureWidth> line{};
    for (int y = top; y < bottom; ++y) {
        Rgb* out = picture.Row(y) + left;
        if (!exists) {
            // A channel the board lacks has no signal at all.
            std::memset(out, 0, shown.size() * sizeof(Rgb));
            continue;
        }
        const int cameraLine = static_cast<int>((y - rect.top) * kCameraHeight / height);
        if (!enabled) {
            NoVideoLine(channel, cameraLine, shown, out);  // the board's own card: no decoder
        } else if (decoder.identity) {
            CameraLine(channel, cameraLine, timeMs, shown, out);
        } else {
            CameraLine(channel, cameraLine, timeMs, shown, line.data());
            for (std::size_t i = 0; i < shown.size(); ++i) out[i] = Decode(decoder, line[i]);
        }
    }
}

}  // namespace

TileRect PlaceTile(const TileSpec& tile, int height) {
    const std::int64_t y = tile.y, h = tile.height;
    return {tile.x, ScaleLine(y, height), std::int64_t{tile.x} + tile.width, ScaleLine(y + h, height)};
}

void RenderPicture(const BoardState& state, std::int64_t timeMs, Picture& picture) {
    const int height = PictureHeight(state.standard);
    if (picture.width != kPictureWidth || picture.height != height)
        picture.Resize(kPictureWidth, height);
    else
        std::fill(picture.bytes.begin(), picture.bytes.end(), std::uint8_t{0});
    if (!state.Showing()) return;
    const int count = std::clamp(state.tileCount, 0, kMostRecords);
    for (int i = 0; i < count; ++i) DrawTile(state.tiles[i], state.channels, timeMs, picture);
}

}  // namespace sim
