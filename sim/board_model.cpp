#include "sim/board_model.hpp"

#include <algorithm>

namespace sim {

namespace {

constexpr const char* kEntryNames[] = {
#define KORVANE16_DRIVER_ENTRY(name, params, args) #name,
#include "driver/driver_entries.inc"
#undef KORVANE16_DRIVER_ENTRY
};

std::int32_t Argument(std::span<const std::int32_t> arguments, std::size_t index) {
    return index < arguments.size() ? arguments[index] : 0;
}

// Why a record cannot be shown as a tile, or "" when it can.
std::string TileProblem(const TileSpec& tile) {
    if (tile.channel >= kChannelCount)
        return "shows channel " + std::to_string(tile.channel) + ", which the board does not have";
    const std::int64_t x = tile.x, y = tile.y, width = tile.width, height = tile.height;
    if (width <= 0 || height <= 0 || x < 0 || y < 0 || x + width > kPictureWidth || y + height > kNtscHeight)
        // Appended, not added to a one-letter literal: GCC 12 at -O3 reports a
        // false -Wrestrict for that.
        return std::string(1, '(').append(std::to_string(x)).append(", ").append(std::to_string(y)).append(", ") +
               std::to_string(width) + " x " + std::to_string(height) + ") lies outside the 720 x 480 picture";
    return {};
}

}  // namespace

const char* EntryName(Entry entry) { return kEntryNames[static_cast<int>(entry)]; }

BoardModel::BoardModel() { std::fill(std::begin(state_.channels), std::end(state_.channels), kChannelDefaults); }

std::string BoardModel::NotSetUp(Entry entry) const {
    return std::string(EntryName(entry)) + (everSetUp_ ? ": called after OvrEndup" : ": called before OvrSetup");
}

std::string BoardModel::Receive(Entry entry, std::span<const std::int32_t> arguments) {
    switch (entry) {
    case Entry::OvrSetup: {
        const bool again = state_.setUp != 0;
        state_ = BoardState{};
        std::fill(std::begin(state_.channels), std::end(state_.channels), kChannelDefaults);
        state_.setUp = 1;
        everSetUp_ = true;
        return again ? "OvrSetup: called again before OvrEndup" : "";
    }
    case Entry::OvrEndup:
        if (state_.setUp == 0) return NotSetUp(entry);
        state_.setUp = state_.running = state_.capturing = 0;
        return {};
    case Entry::OvrRun:
    case Entry::OvrStop:
    case Entry::OvrCaptureStart:
    case Entry::OvrCaptureStop:
        if (state_.setUp == 0) return NotSetUp(entry);
        if (entry == Entry::OvrRun) state_.running = 1;
        if (entry == Entry::OvrStop) state_.running = state_.capturing = 0;
        if (entry == Entry::OvrCaptureStart) state_.capturing = 1;
        if (entry == Entry::OvrCaptureStop) state_.capturing = 0;
        return {};
    case Entry::OvrSetVideoFormat: {
        if (state_.setUp == 0) return NotSetUp(entry);
        const std::int32_t standard = Argument(arguments, 0);
        if (standard != kNtsc && standard != kPal)
            return "OvrSetVideoFormat: standard " + std::to_string(standard) + " is neither 0 (NTSC) nor 1 (PAL)";
        state_.standard = standard;
        return {};
    }
    case Entry::OvrEdgeEnhance:
        if (state_.setUp == 0) return NotSetUp(entry);
        state_.edgeEnhance = Argument(arguments, 0);
        return {};
    case Entry::OvrEnableAll309CH:
        // Readies the decoders before a new layout; it changes nothing shown.
        return state_.setUp == 0 ? NotSetUp(entry) : "";
    case Entry::OvrEnableChannel:
    case Entry::OvrSetBrightness:
    case Entry::OvrSetContrast:
    case Entry::OvrSetHue:
    case Entry::OvrSetSaturationU:
    case Entry::OvrSetSaturationV:
        return SetChannel(entry, arguments);
    default:
        // The entry points the panel never calls do nothing on this board.
        return {};
    }
}

std::string BoardModel::SetChannel(Entry entry, std::span<const std::int32_t> arguments) {
    if (state_.setUp == 0) return NotSetUp(entry);
    const std::int32_t channel = Argument(arguments, 0), value = Argument(arguments, 1);
    if (channel < 0 || channel >= kChannelCount)
        return std::string(EntryName(entry)) + ": channel " + std::to_string(channel) + " is outside 0..15";
    ChannelSettings& settings = state_.channels[channel];
    switch (entry) {
    case Entry::OvrEnableChannel: settings.enabled = value != 0 ? 1 : 0; break;
    case Entry::OvrSetBrightness: settings.brightness = value; break;
    case Entry::OvrSetContrast: settings.contrast = value; break;
    case Entry::OvrSetHue: settings.hue = value; break;
    case Entry::OvrSetSaturationU: settings.saturationU = value; break;
    default: settings.saturationV = value; break;
    }
    return {};
}

std::string BoardModel::ReceiveLayout(const TileSpec* table) {
    const std::string name = EntryName(Entry::OvrSetDisplayFormatForTV);
    if (state_.setUp == 0) return NotSetUp(Entry::OvrSetDisplayFormatForTV);
    if (table == nullptr) return name + ": no table";
    int count = 0;
    while (count < kMostRecords && table[count].channel != kEndMark) ++count;
    // Without an end mark the board would read on past the table: it keeps
    // showing the layout it had.
    if (count == kMostRecords) return name + ": no end mark in the first 32 records";
    std::copy(table, table + count, state_.tiles);
    std::fill(state_.tiles + count, std::end(state_.tiles), TileSpec{});
    state_.tileCount = count;
    for (int i = 0; i < count; ++i) {
        if (std::string problem = TileProblem(table[i]); !problem.empty())
            return name + ": tile " + std::to_string(i) + ' ' + problem;
    }
    return {};
}

}  // namespace sim
