// Drives a board model through its entry points, as the panel's sequences do.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "layout/layout_specs.hpp"
#include "sim/board_model.hpp"
#include "tests/sim/expected_picture.hpp"

struct BoardCalls {
    sim::BoardModel model;
    std::vector<std::string> faults;

    void Call(sim::Entry entry, std::initializer_list<std::int32_t> arguments = {}) {
        const std::vector<std::int32_t> values(arguments);
        Note(model.Receive(entry, values));
    }
    void Layout(const std::vector<TileSpec>& table) { Note(model.ReceiveLayout(table.data())); }
    void Note(const std::string& fault) {
        if (!fault.empty()) faults.push_back(fault);
    }

    // Set up, standard, every channel on with default attributes, running.
    void StartUp(std::int32_t standard = sim::kNtsc) {
        using sim::Entry;
        Call(Entry::OvrSetup, {0});
        Call(Entry::OvrSetVideoFormat, {standard});
        for (int ch = 0; ch < 16; ++ch) Call(Entry::OvrEnableChannel, {ch, 1});
        Call(Entry::OvrRun);
        Call(Entry::OvrCaptureStart);
    }
    const sim::BoardState& State() const { return model.State(); }
};

// The records of a layout with the given channels in its first tiles and the
// end mark after them.
inline std::vector<TileSpec> LayoutTable(int tileCount, const std::vector<int>& channels) {
    const LayoutSpec* layout = FindLayout(tileCount);
    std::vector<TileSpec> table;
    for (std::size_t i = 0; i < channels.size(); ++i) table.push_back(expected::TileRecord(channels[i], layout->tiles[i]));
    table.push_back({kEndMark, {}, layout->endMarkScale, 0, 0, 0, 0});
    return table;
}
