// What the commands of korvane16-ctl share: the file's name for messages, the
// check of NAME=VALUE, the writing of checked values and the output formats.
#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ctl/ctl_commands.hpp"
#include "ctl/settings_view.hpp"

inline constexpr const char* kProgram = "korvane16-ctl: ";

// The settings file as the panel names it to people: its full path.
std::string ShownFileName();

// A value set does not take, which passes only when it restates what `list`
// shows for a key the file holds (a camera 17 the panel wrote, say): then the
// key stays as it is.
struct Restated {
    std::size_t setting;
    std::string typed;
    std::string refusal;  // the line that refuses it otherwise
};

struct Assignments {
    std::vector<KeyWrite> writes;
    std::vector<Restated> restated;
};

// Adds "NAME=VALUE" to INTO; false, with the reason on ERR, for a word that is
// not NAME=VALUE of a known setting (WHERE, when given, says where it came from).
bool ParseAssignment(const std::string& word, Assignments& into, std::ostream& err, const std::string& where = "");

// Writes ASSIGNMENTS with the tile keys they need, or only says what would
// change (OPTIONS.dryRun); refused while a panel runs. Either all are written
// or, when one fails, those already written get their old values back. Prints
// "NAME OLD NEW" on OUT for each setting that changed.
int WriteAssignments(const Assignments& assignments, const CommandOptions& options, std::ostream& out,
                     std::ostream& err);

// The settings numbered in SETTINGS (indices in AllSettings()) with the values
// of STORED: as one JSON array, or as lines for people with values and default.
void PrintJson(const std::vector<std::size_t>& settings, const StoredValues& stored, std::ostream& out);
void PrintLong(const std::vector<std::size_t>& settings, const StoredValues& stored, std::ostream& out);
