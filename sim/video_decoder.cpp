#include "sim/video_decoder.hpp"

#include "sim/fixed_trig.hpp"

namespace sim {

namespace {

// R'G'B' to Y'CbCr and back, 16.16.
constexpr std::int64_t kToYcc[3][3] = {
    {19595, 38470, 7471}, {-11059, -21709, 32768}, {32768, -27439, -5329}};
constexpr std::int64_t kToRgb[3][3] = {{65536, 0, 91881}, {65536, -22554, -46802}, {65536, 116130, 0}};

constexpr auto kHueTurns = MakeDirections<256, -128>();

std::int32_t Clamp255(std::int32_t v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

}  // namespace

DecoderTransform MakeDecoderTransform(const ChannelSettings& s) {
    const std::int64_t brightness = Clamp255(s.brightness), contrast = Clamp255(s.contrast);
    const std::int64_t saturationU = Clamp255(s.saturationU), saturationV = Clamp255(s.saturationV);
    const FixedDirection turn = kHueTurns[static_cast<std::size_t>(Clamp255(s.hue))];

    // What is done in Y'CbCr, 16.16: luma gain; chroma turned, then scaled.
    const std::int64_t inYcc[3][3] = {
        {(contrast * 65536 + 90) / 180, 0, 0},
        {0, (saturationU * turn.cosine) / 128, -(saturationU * turn.sine) / 128},
        {0, (saturationV * turn.sine) / 128, (saturationV * turn.cosine) / 128}};

    std::int64_t toYcc[3][3]{};  // inYcc * kToYcc, 32.32
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            for (int k = 0; k < 3; ++k) toYcc[r][c] += inYcc[r][k] * kToYcc[k][c];

    DecoderTransform t{};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            std::int64_t sum = 0;  // 48 fraction bits
            for (int k = 0; k < 3; ++k) sum += kToRgb[r][k] * toYcc[k][c];
            t.matrix[r][c] = static_cast<std::int32_t>((sum + (std::int64_t{1} << 31)) >> 32);
        }
    }
    t.offset = static_cast<std::int32_t>((brightness - 100) * 65536);
    // The matrix then differs from the identity by rounding alone, too little
    // to change any pixel: the picture may be copied as it is.
    t.identity = brightness == 100 && contrast == 180 && s.hue == 128 && saturationU == 128 && saturationV == 128;
    return t;
}

}  // namespace sim
