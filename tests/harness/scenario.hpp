// One operator's session as a row of a table: the settings file the panel
// finds, the script it runs, and what it must leave: the board's calls, the
// printed control and state lines, the stored keys. A row's own name is its
// test's name, so each row passes or fails on its own.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/harness/board_journal.hpp"
#include "tests/harness/output_lines.hpp"
#include "tests/harness/panel_run.hpp"

struct Scenario {
    std::string name{};
    std::string settings{};  // the file found at start ("" for none)
    std::string script{};
    Driver driver = Driver::StandIn;
    int status = 0;
    std::optional<board::Journal> journal{};    // the whole journal
    std::optional<board::Journal> operation{};  // the calls the operator's actions made
    std::string callsStarting{};               // with CALLS: the journal's lines starting so
    board::Journal calls{};
    std::optional<std::string> out{};      // all that was printed
    std::vector<std::string> shown{};      // printed lines, each found by its first word
    std::vector<SettingsEntry> stored{};   // keys of the file the session left
    std::function<void(const RunResult&)> also{};  // what the columns above cannot say
};

inline void PrintTo(const Scenario& row, std::ostream* out) { *out << row.name; }

inline std::string RowName(const testing::TestParamInfo<Scenario>& info) { return info.param.name; }

// Runs ROW's session on a fresh panel and checks all it names.
inline void Play(const Scenario& row) {
    PanelRun panel;
    if (!row.settings.empty()) panel.WriteSettings(row.settings);
    const RunResult r = panel.Run(row.script, row.driver);
    ASSERT_EQ(r.status, row.status) << r.err;
    if (row.journal) {
        EXPECT_EQ(r.journal, *row.journal);
    }
    if (row.operation) {
        EXPECT_EQ(board::Operation(r.journal), *row.operation);
    }
    if (!row.callsStarting.empty()) {
        EXPECT_EQ(board::LinesStartingWith(r.journal, row.callsStarting), row.calls);
    }
    if (row.out) {
        EXPECT_EQ(r.out, *row.out);
    }
    for (const std::string& line : row.shown) EXPECT_EQ(LineOf(r.out, line.substr(0, line.find(' '))), line);
    for (const SettingsEntry& key : row.stored)
        EXPECT_EQ(r.Setting(key.section, key.key), key.value) << "[" << key.section << "] " << key.key;
    if (row.also) row.also(r);
}
