// A tiny built-in font of 5 x 7 dots (digits, capital letters, a few signs),
// so the board's pictures carry their own lettering without a toolkit.
#pragma once

#include <string_view>

namespace sim {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;
// Each character takes its glyph and one blank column.
inline constexpr int kGlyphAdvance = kGlyphWidth + 1;

// Whether the glyph of C has a dot at (column, row); characters the font
// lacks are blank.
bool GlyphDot(char c, int column, int row);

// TEXT drawn with square dots of SCALE pixels, its top-left corner at (0, 0).
constexpr int TextWidth(std::string_view text, int scale) {
    return text.empty() ? 0 : (static_cast<int>(text.size()) * kGlyphAdvance - 1) * scale;
}
constexpr int TextHeight(int scale) { return kGlyphHeight * scale; }
// Whether the pixel (x, y) of that drawing falls on a dot.
bool TextDot(std::string_view text, int scale, int x, int y);

}  // namespace sim
