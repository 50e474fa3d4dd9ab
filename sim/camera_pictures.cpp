#include "sim/camera_pictures.hpp"

#include <array>
#include <string>

#include "sim/bitmap_font.hpp"
#include "sim/fixed_trig.hpp"

namespace sim {

namespace {

constexpr int kCentreX = kCameraWidth / 2, kCentreY = kCameraHeight / 2;

constexpr Rgb Grey(int v) { return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v)}; }

template <typename PixelAt>
void Fill(std::span<const int> columns, Rgb* out, PixelAt pixelAt) {
    for (std::size_t i = 0; i < columns.size(); ++i) out[i] = pixelAt(columns[i]);
}

// A position going to and fro over 0..LENGTH at one pixel per step.
std::int64_t Bounce(std::int64_t step, std::int64_t length) {
    const std::int64_t p = ((step % (2 * length)) + 2 * length) % (2 * length);
    return p <= length ? p : 2 * length - p;
}

// Squared distance from (x, y) to the segment from (x0, y0) to (x1, y1).
std::int64_t SegmentDistance2(std::int64_t x, std::int64_t y, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                              std::int64_t y1) {
    const std::int64_t dx = x1 - x0, dy = y1 - y0, px = x - x0, py = y - y0;
    const std::int64_t along = px * dx + py * dy, length2 = dx * dx + dy * dy;
    if (along <= 0 || length2 == 0) return px * px + py * py;
    if (along >= length2) return (x - x1) * (x - x1) + (y - y1) * (y - y1);
    const std::int64_t cross = px * dy - py * dx;
    return (cross * cross + length2 / 2) / length2;
}

// Camera 1: colour bars at 75 %.
constexpr std::array<Rgb, 8> kBars{{{191, 191, 191}, {191, 191, 0}, {0, 191, 191}, {0, 191, 0},
                                    {191, 0, 191}, {191, 0, 0}, {0, 0, 191}, {0, 0, 0}}};

// Camera 15: a chart of patches, six hues across; bright, pale and dark rows
// above a row of greys.
constexpr std::array<Rgb, 6> kHues{{{230, 30, 30}, {230, 200, 20}, {30, 190, 40}, {20, 190, 210}, {40, 60, 220}, {200, 40, 200}}};

Rgb Patch(int column, int row) {
    const Rgb hue = kHues[static_cast<std::size_t>(column)];
    auto mix = [](std::uint8_t v, int towards, int part) { return static_cast<std::uint8_t>((v * (4 - part) + towards * part) / 4); };
    switch (row) {
    case 0: return hue;
    case 1: return {mix(hue.r, 255, 2), mix(hue.g, 255, 2), mix(hue.b, 255, 2)};
    case 2: return {mix(hue.r, 0, 2), mix(hue.g, 0, 2), mix(hue.b, 0, 2)};
    default: return Grey(240 - column * 40);
    }
}

constexpr auto kClockSteps = MakeDirections<60>();

// Camera 4's clock: face, hour dots and three hands, 10:10:00 at time 0.
struct Clock {
    struct Hand {
        std::int64_t tipX, tipY, halfWidth2;
        Rgb colour;
    };
    std::array<Hand, 3> hands;

    explicit Clock(std::int64_t timeMs) {
        const std::int64_t seconds = timeMs / 1000 + 10 * 3600 + 10 * 60;
        const std::int64_t s = seconds % 60, m = (seconds / 60) % 60, h = (seconds / 3600) % 12;
        hands = {Tip(h * 5 + m / 12, 100, 8, {40, 40, 48}), Tip(m, 160, 5, {40, 40, 48}), Tip(s, 170, 2, {210, 30, 30})};
    }
    static Hand Tip(std::int64_t step, std::int64_t length, std::int64_t halfWidth, Rgb colour) {
        const FixedDirection d = kClockSteps[static_cast<std::size_t>(step % 60)];
        return {kCentreX + ((length * d.sine + 32768) >> 16), kCentreY - ((length * d.cosine + 32768) >> 16),
                halfWidth * halfWidth, colour};
    }
    Rgb At(int x, int y) const {
        const std::int64_t dx = x - kCentreX, dy = y - kCentreY, r2 = dx * dx + dy * dy;
        if (r2 > 200 * 200) return {40, 60, 90};
        if (r2 > 188 * 188) return {30, 30, 36};
        for (int i = 2; i >= 0; --i) {
            const Hand& hand = hands[static_cast<std::size_t>(i)];
            if (SegmentDistance2(x, y, kCentreX, kCentreY, hand.tipX, hand.tipY) <= hand.halfWidth2) return hand.colour;
        }
        for (std::size_t hour = 0; hour < 60; hour += 5) {
            const std::int64_t cx = kCentreX + ((168 * kClockSteps[hour].sine + 32768) >> 16);
            const std::int64_t cy = kCentreY - ((168 * kClockSteps[hour].cosine + 32768) >> 16);
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= 81) return {40, 40, 48};
        }
        return {232, 228, 212};
    }
};

Rgb HueSweep(int x, int y) {
    const int h = x * 1536 / kCameraWidth, f = h % 256, v = 255 - y * 128 / kCameraHeight;
    const int up = f * v / 255, down = (255 - f) * v / 255;
    auto c = [](int r, int g, int b) { return Rgb{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)}; };
    switch (h / 256) {
    case 0: return c(v, up, 0);
    case 1: return c(down, v, 0);
    case 2: return c(0, v, up);
    case 3: return c(0, down, v);
    case 4: return c(up, 0, v);
    default: return c(v, 0, down);
    }
}

// Whole pixels from the centre, rounded down.
int Radius(std::int64_t r2) {
    int r = 0;
    while (static_cast<std::int64_t>(r + 16) * (r + 16) <= r2) r += 16;
    while (static_cast<std::int64_t>(r + 1) * (r + 1) <= r2) ++r;
    return r;
}

void PatternLine(int channel, int y, std::int64_t timeMs, std::span<const int> columns, Rgb* out) {
    switch (channel) {
    case 0: Fill(columns, out, [](int x) { return kBars[static_cast<std::size_t>(x * 8 / kCameraWidth)]; }); break;
    case 1:
        Fill(columns, out, [y](int x) {
            return y < 320 ? Grey(x * 255 / (kCameraWidth - 1)) : Grey((x * 11 / kCameraWidth) * 255 / 10);
        });
        break;
    case 2: {
        constexpr int kBall = 44;
        const std::int64_t bx = kBall + Bounce(timeMs * 31 / 100 + 400, kCameraWidth - 2 * kBall);
        const std::int64_t by = kBall + Bounce(timeMs * 23 / 100 + 200, kCameraHeight - 2 * kBall);
        const std::int64_t dy = y - by;
        Fill(columns, out, [&](int x) {
            const std::int64_t dx = x - bx;
            return dx * dx + dy * dy <= kBall * kBall ? Rgb{240, 216, 40} : Rgb{16, 32, 104};
        });
        break;
    }
    case 3: {
        const Clock clock(timeMs);
        Fill(columns, out, [&](int x) { return clock.At(x, y); });
        break;
    }
    case 4: Fill(columns, out, [y](int x) { return ((x / 90 + y / 80) % 2) == 0 ? Rgb{240, 140, 20} : Rgb{48, 24, 0}; }); break;
    case 5: Fill(columns, out, [y](int x) { return HueSweep(x, y); }); break;
    case 6:
        Fill(columns, out, [](int x) {
            constexpr int kPeriods[] = {80, 60, 40, 30, 20, 12};
            const int period = kPeriods[x / 120];
            return (x % period) < period / 2 ? Grey(235) : Grey(16);
        });
        break;
    case 7: {
        const std::int64_t dy = y - kCentreY;
        Fill(columns, out, [dy](int x) {
            const std::int64_t dx = x - kCentreX;
            return (Radius(dx * dx + dy * dy) / 30) % 2 == 0 ? Rgb{220, 36, 36} : Rgb{236, 236, 236};
        });
        break;
    }
    case 8: {
        const bool onLine = (y % 60) < 4;
        Fill(columns, out, [onLine](int x) { return onLine || (x % 60) < 4 ? Grey(235) : Grey(90); });
        break;
    }
    case 9: {
        // A landscape: sky, a sun, green land below the horizon.
        const std::int64_t sunY = y - 110;
        Fill(columns, out, [y, sunY](int x) {
            if (y >= 320) return Rgb{40, 140, static_cast<std::uint8_t>(40 + (y - 320) / 4)};
            const std::int64_t sunX = x - 560;
            if (sunX * sunX + sunY * sunY <= 56 * 56) return Rgb{255, 220, 64};
            return Rgb{static_cast<std::uint8_t>(90 + y / 3), static_cast<std::uint8_t>(150 + y / 4), 235};
        });
        break;
    }
    case 10:
        Fill(columns, out, [y](int x) {
            const int d = (x + y) * 255 / (kCameraWidth + kCameraHeight - 2);
            return Rgb{static_cast<std::uint8_t>(255 - d), 48, static_cast<std::uint8_t>(d)};
        });
        break;
    case 11: {
        const std::int64_t left = (timeMs / 5 + 300) % 800 - 80;
        Fill(columns, out, [left](int x) { return x >= left && x < left + 80 ? Grey(20) : Rgb{0, 176, 200}; });
        break;
    }
    case 12: {
        const bool top = y < kCentreY;
        Fill(columns, out, [top](int x) {
            if (top) return x < kCentreX ? Rgb{0, 180, 0} : Rgb{210, 0, 0};
            return x < kCentreX ? Rgb{0, 0, 210} : Rgb{230, 210, 0};
        });
        break;
    }
    case 13: {
        const int dy = y < kCentreY ? kCentreY - y : y - kCentreY;
        Fill(columns, out, [dy](int x) {
            const int dx = x < kCentreX ? kCentreX - x : x - kCentreX;
            return ((dx + dy) / 40) % 2 == 0 ? Rgb{210, 40, 210} : Rgb{24, 0, 24};
        });
        break;
    }
    case 14: Fill(columns, out, [y](int x) { return Patch(x / 120, y / 120); }); break;
    default:
        Fill(columns, out, [y](int x) {
            return Rgb{static_cast<std::uint8_t>(x * 255 / (kCameraWidth - 1)),
                       static_cast<std::uint8_t>(y * 255 / (kCameraHeight - 1)), 128};
        });
        break;
    }
}

// Draws TEXT into the columns of line Y that fall on its dots, with its
// top-left corner at (LEFT, TOP).
void TextLine(const std::string& text, int scale, int left, int top, int y, std::span<const int> columns, Rgb colour,
              Rgb* out) {
    if (y < top || y >= top + TextHeight(scale)) return;
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (TextDot(text, scale, columns[i] - left, y - top)) out[i] = colour;
}

void LabelLine(int channel, int y, std::span<const int> columns, Rgb* out) {
    const std::string number = std::to_string(channel + 1);
    const int right = kLabelLeft + 2 * kLabelPadding + TextWidth(number, kLabelScale);
    const int bottom = kLabelTop + 2 * kLabelPadding + TextHeight(kLabelScale);
    if (y < kLabelTop || y >= bottom) return;
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i] >= kLabelLeft && columns[i] < right) out[i] = Grey(0);
    TextLine(number, kLabelScale, kLabelLeft + kLabelPadding, kLabelTop + kLabelPadding, y, columns, Grey(255), out);
}

}  // namespace

void CameraLine(int channel, int line, std::int64_t timeMs, std::span<const int> columns, Rgb* out) {
    PatternLine(channel, line, timeMs, columns, out);
    LabelLine(channel, line, columns, out);
}

Rgb CameraPixel(int channel, int x, int y, std::int64_t timeMs) {
    Rgb pixel{};
    CameraLine(channel, y, timeMs, std::span<const int>(&x, 1), &pixel);
    return pixel;
}

void NoVideoLine(int channel, int line, std::span<const int> columns, Rgb* out) {
    constexpr int kBorder = 12;
    const bool edgeLine = line < kBorder || line >= kCameraHeight - kBorder;
    Fill(columns, out, [edgeLine](int x) {
        return edgeLine || x < kBorder || x >= kCameraWidth - kBorder ? Grey(128) : Grey(72);
    });
    const std::string title = "NO VIDEO", camera = "CAM " + std::to_string(channel + 1);
    TextLine(title, 10, (kCameraWidth - TextWidth(title, 10)) / 2, 130, line, columns, Grey(208), out);
    TextLine(camera, 8, (kCameraWidth - TextWidth(camera, 8)) / 2, 270, line, columns, Grey(208), out);
}

Rgb NoVideoPixel(int channel, int x, int y) {
    Rgb pixel{};
    NoVideoLine(channel, y, std::span<const int>(&x, 1), &pixel);
    return pixel;
}

}  // namespace sim
