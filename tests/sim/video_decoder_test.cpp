// The picture attributes against the decoder's formulas: signs, gains, the
// identity at the panel's defaults, and clamping instead of wrapping.
#include <gtest/gtest.h>

#include <vector>

#include "sim/video_decoder.hpp"
#include "tests/sim/expected_picture.hpp"

namespace {

constexpr sim::ChannelSettings kDefaults{1, 100, 180, 128, 128, 128};

sim::ChannelSettings With(int brightness, int contrast, int hue, int saturation) {
    return {1, brightness, contrast, hue, saturation, saturation};
}

std::vector<sim::Rgb> SomeColours() {
    std::vector<sim::Rgb> colours;
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 17)
            for (int b = 0; b < 256; b += 51)
                colours.push_back({static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)});
    colours.push_back({255, 255, 255});
    return colours;
}

int Luma(sim::Rgb p) { return 299 * p.r + 587 * p.g + 114 * p.b; }

TEST(VideoDecoder, MatchesTheDecoderFormulasForEverySliderValue) {
    const std::vector<sim::Rgb> colours = SomeColours();
    for (int value = -20; value <= 280; value += 5) {
        const sim::ChannelSettings settings[] = {With(value, 180, 128, 128), With(100, value, 128, 128),
                                                   With(100, 180, value, 128), With(100, 180, 128, value),
                                                   {1, 100, 180, 128, value, 255 - value}, With(value, value, value, value)};
        for (const sim::ChannelSettings& s : settings) {
            const sim::DecoderTransform t = sim::MakeDecoderTransform(s);
            for (const sim::Rgb c : colours) {
                const sim::Rgb want = expected::Decode(c, s), got = sim::Decode(t, c);
                ASSERT_LE(expected::Difference(want, got), 1)
                    << "attributes " << s.brightness << ' ' << s.contrast << ' ' << s.hue << ' ' << s.saturationU << ' '
                    << s.saturationV << " on " << +c.r << ',' << +c.g << ',' << +c.b;
            }
        }
    }
}

TEST(VideoDecoder, ThePanelsDefaultsLeaveEveryColourAsItIs) {
    sim::DecoderTransform t = sim::MakeDecoderTransform(kDefaults);
    EXPECT_TRUE(t.identity);
    t.identity = false;  // the arithmetic itself, not the shortcut
    for (int r = 0; r < 256; r += 3)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; ++b) {
                const sim::Rgb c{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
                ASSERT_EQ(sim::Decode(t, c), c);
            }
    EXPECT_FALSE(sim::MakeDecoderTransform(With(101, 180, 128, 128)).identity);
    EXPECT_FALSE(sim::MakeDecoderTransform({1, 100, 180, 128, 128, 127}).identity);
}

TEST(VideoDecoder, EachControlPullsTheRightWay) {
    const sim::Rgb grey{120, 120, 120}, blue{0, 0, 255}, orange{230, 120, 20};
    auto decode = [](sim::ChannelSettings s, sim::Rgb c) { return sim::Decode(sim::MakeDecoderTransform(s), c); };
    EXPECT_GT(Luma(decode(With(150, 180, 128, 128), grey)), Luma(grey));  // brightness up: lighter
    EXPECT_LT(Luma(decode(With(50, 180, 128, 128), grey)), Luma(grey));
    EXPECT_GT(Luma(decode(With(100, 230, 128, 128), grey)), Luma(grey));  // contrast: a gain about black
    EXPECT_EQ(decode(With(100, 255, 128, 128), {0, 0, 0}), (sim::Rgb{0, 0, 0}));
    EXPECT_EQ(decode(With(100, 0, 128, 0), orange), (sim::Rgb{0, 0, 0}));
    // Hue above 128 turns blue towards red, below 128 towards green.
    EXPECT_GT(decode(With(100, 180, 160, 128), blue).r, 60);
    EXPECT_EQ(decode(With(100, 180, 96, 128), blue).r, 0);
    EXPECT_GT(decode(With(100, 180, 96, 128), blue).g, 60);
    // Saturation 0 leaves only grey; more saturation spreads the colour.
    for (const sim::Rgb c : SomeColours()) {
        const sim::Rgb g = decode(With(100, 180, 77, 0), c);
        ASSERT_TRUE(g.r == g.g && g.g == g.b) << +c.r << ',' << +c.g << ',' << +c.b;
    }
    const sim::Rgb vivid = decode(With(100, 180, 128, 200), orange);
    EXPECT_GT(vivid.r - vivid.b, orange.r - orange.b);
}

TEST(VideoDecoder, ExtremeValuesClampAndNeverWrap) {
    const std::vector<sim::Rgb> colours = SomeColours();
    auto decode = [](sim::ChannelSettings s, sim::Rgb c) { return sim::Decode(sim::MakeDecoderTransform(s), c); };
    auto notDarker = [](sim::Rgb lower, sim::Rgb higher) {
        return higher.r + 1 >= lower.r && higher.g + 1 >= lower.g && higher.b + 1 >= lower.b;
    };
    for (const sim::Rgb c : colours) {
        // Turning brightness or contrast up never makes any of R, G, B darker.
        for (int v = 0; v < 255; v += 5) {
            ASSERT_TRUE(notDarker(decode(With(v, 180, 128, 128), c), decode(With(v + 5, 180, 128, 128), c))) << v;
            ASSERT_TRUE(notDarker(decode(With(100, v, 128, 128), c), decode(With(100, v + 5, 128, 128), c))) << v;
        }
        EXPECT_EQ(decode(With(0, 0, 128, 0), c), (sim::Rgb{0, 0, 0}));
        // Values beyond the sliders act as their nearer end.
        EXPECT_EQ(decode(With(-300, 999, 400, -7), c), decode(With(0, 255, 255, 0), c));
    }
    EXPECT_EQ(decode(With(255, 255, 128, 255), {255, 255, 255}), (sim::Rgb{255, 255, 255}));
    EXPECT_EQ(decode(With(255, 255, 128, 255), {250, 10, 10}).r, 255);
}

}  // namespace
