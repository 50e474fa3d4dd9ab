// The sixteen cameras can be told apart, carry their 1-based number, and the
// grey card of a disabled channel is grey.
#include <gtest/gtest.h>

#include <string>

#include "sim/bitmap_font.hpp"
#include "sim/camera_pictures.hpp"

namespace {

TEST(CameraPictures, EveryTwoCamerasDifferOverMostOfThePicture) {
    for (int a = 0; a < 16; ++a) {
        for (int b = a + 1; b < 16; ++b) {
            int differing = 0, samples = 0;
            for (int y = 100; y < 480; y += 20) {
                for (int x = 0; x < 720; x += 20, ++samples) {
                    const sim::Rgb pa = sim::CameraPixel(a, x, y, 0), pb = sim::CameraPixel(b, x, y, 0);
                    if (std::abs(pa.r - pb.r) + std::abs(pa.g - pb.g) + std::abs(pa.b - pb.b) > 60) ++differing;
                }
            }
            EXPECT_GT(differing * 2, samples) << "cameras " << a + 1 << " and " << b + 1;
        }
    }
}

TEST(CameraPictures, EachCameraIsLabelledWithItsOneBasedNumber) {
    for (int channel = 0; channel < 16; ++channel) {
        const std::string number = std::to_string(channel + 1);
        SCOPED_TRACE("camera " + number);
        const int textLeft = sim::kLabelLeft + sim::kLabelPadding, textTop = sim::kLabelTop + sim::kLabelPadding;
        for (std::size_t i = 0; i < number.size(); ++i) {
            for (int row = 0; row < sim::kGlyphHeight; ++row) {
                for (int column = 0; column <= sim::kGlyphWidth; ++column) {  // the spacing column too
                    const int x = textLeft + (static_cast<int>(i) * sim::kGlyphAdvance + column) * sim::kLabelScale + 4;
                    const int y = textTop + row * sim::kLabelScale + 4;
                    const bool dot = sim::GlyphDot(number[i], column, row);
                    EXPECT_EQ(sim::CameraPixel(channel, x, y, 0), dot ? (sim::Rgb{255, 255, 255}) : (sim::Rgb{0, 0, 0}))
                        << "digit " << i << " column " << column << " row " << row;
                }
            }
        }
    }
}

TEST(CameraPictures, TheDigitsOfTheFontAreAllDifferent) {
    for (char a = '0'; a <= '9'; ++a) {
        for (char b = static_cast<char>(a + 1); b <= '9'; ++b) {
            bool differ = false;
            for (int row = 0; row < sim::kGlyphHeight; ++row)
                for (int column = 0; column < sim::kGlyphWidth; ++column)
                    differ = differ || sim::GlyphDot(a, column, row) != sim::GlyphDot(b, column, row);
            EXPECT_TRUE(differ) << a << " and " << b;
        }
    }
}

TEST(CameraPictures, TheNoVideoCardIsGreyAndNamesItsCamera) {
    for (int channel = 0; channel < 16; ++channel) {
        int differsFromNext = 0;
        for (int y = 0; y < 480; y += 2) {
            for (int x = 0; x < 720; x += 2) {
                const sim::Rgb p = sim::NoVideoPixel(channel, x, y);
                ASSERT_TRUE(p.r == p.g && p.g == p.b) << "camera " << channel + 1 << " at " << x << ',' << y;
                if (p != sim::NoVideoPixel((channel + 1) % 16, x, y)) ++differsFromNext;
            }
        }
        EXPECT_GT(differsFromNext, 0) << "the cards of cameras " << channel + 1 << " and " << (channel + 1) % 16 + 1;
    }
}

}  // namespace
