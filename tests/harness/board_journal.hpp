// The driver journal the board should see, built from the rules of each board
// sequence, so tests compare whole journals rather than single lines.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace board {

struct Attributes {
    int brightness = 100, contrast = 180, hue = 128, saturation = 128;
};

using Enables = std::array<int, 16>;
using AllAttributes = std::array<Attributes, 16>;

inline constexpr Enables kAllEnabled{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

// What the stand-in prints for each layout's table with camera channel i in
// tile i, from the tile geometry the board expects.
std::string LayoutRecords(int tileCount);

// A layout line with other channels in its first tiles. A channel of 255 ends
// the table early, as the driver reads it.
std::string WithChannels(const std::string& records, const std::vector<int>& channels);

using Journal = std::vector<std::string>;

Journal EnablePass(const Enables& enables);
Journal AttributeCalls(int channel, const Attributes& a);
Journal AttributePass(const AllAttributes& attributes);

struct Board {
    int standardSent = 0;
    Enables enables = kAllEnabled;
    AllAttributes attributes{};
};

// "load" through OvrEdgeEnhance, with LAYOUT the records sent for the saved layout.
Journal StartUp(const Board& board, const std::string& layout);
// OvrCaptureStop through "unload".
Journal ShutDown(const Enables& enables);
// Both passes of a video-standard change.
Journal VideoStandardChange(int standard, const Board& board);

Journal Concat(std::initializer_list<Journal> parts);

// The calls the operator's actions made: after the start-up's OvrEdgeEnhance,
// before the shut-down's OvrCaptureStop.
Journal Operation(const Journal& journal);

// The lines of JOURNAL that start with START.
Journal LinesStartingWith(const Journal& journal, const std::string& start);

}  // namespace board
