// The picture attributes as a video decoder applies them, in Y'CbCr (full
// range, BT.601 weights): brightness offsets luma by (brightness - 100),
// contrast scales luma about black by contrast / 180, hue turns the chroma
// vector by (hue - 128) * 180 / 128 degrees (from Cb towards Cr), and the two
// saturations scale Cb and Cr by saturation / 128. The defaults 100, 180, 128,
// 128 leave a picture as it is. Values outside 0..255 count as the nearer end;
// results are clamped to 0..255.
#pragma once

#include <cstdint>

#include "sim/board_state.hpp"
#include "sim/picture.hpp"

namespace sim {

// The whole operation as one matrix on R'G'B' (16.16 fixed point) and a luma
// offset, computed in integers so every machine gets the same bytes.
struct DecoderTransform {
    std::int32_t matrix[3][3];
    std::int32_t offset;  // 16.16, added to R, G and B alike
    bool identity;
};

DecoderTransform MakeDecoderTransform(const ChannelSettings& settings);

inline Rgb Decode(const DecoderTransform& t, Rgb in) {
    auto channel = [&](int row) {
        const std::int64_t v = std::int64_t{t.matrix[row][0]} * in.r + std::int64_t{t.matrix[row][1]} * in.g +
                               std::int64_t{t.matrix[row][2]} * in.b + t.offset + 32768;
        const std::int64_t whole = v >> 16;
        return static_cast<std::uint8_t>(whole < 0 ? 0 : whole > 255 ? 255 : whole);
    };
    return {channel(0), channel(1), channel(2)};
}

}  // namespace sim
