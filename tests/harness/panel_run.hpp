// Runs the harness as a fresh process in a run folder of its own, the way
// an operator's session runs, and collects what it left: its output, the stand-in
// driver's journal and the settings file.
//
// Environment (so the same tests drive other builds of the harness):
//   KORVANE16_HARNESS        the harness program (default: the one built here)
//   KORVANE16_RUNNER         words put before it, e.g. "wine"
//   KORVANE16_PARTIAL_DRIVER a stand-in driver lacking some entry points
//                            ("" when that build has none: those tests skip)
//   KORVANE16_STAND_IN       the stand-in that harness loads (default: the one
//                            built beside it)
#pragma once

#include <string>
#include <vector>

#include "tests/run_folder.hpp"

enum class Driver {
    StandIn,  // the stand-in driver beside the harness, as built
    None,     // the harness copied alone into an empty folder
    Partial,  // the harness beside the partial stand-in
};

struct SettingsEntry {
    std::string section, key, value;
    bool operator==(const SettingsEntry&) const = default;
};

struct RunResult : Finished {
    std::vector<std::string> journal;
    bool settingsExist = false;
    std::string settingsText;
    // The settings file key by key, in file order (line ends and blank lines
    // left out, so files written on other platforms compare equal).
    std::vector<SettingsEntry> settings;

    // The value of one key (sections and keys compared as written).
    std::string Setting(const std::string& section, const std::string& key) const;
};

class PanelRun : public RunFolder {
public:
    // PREFIX: words put before the harness, after any runner (e.g. a tracer).
    RunResult Run(const std::string& script, Driver driver = Driver::StandIn, const Environment& environment = {},
                  const std::vector<std::string>& prefix = {});
    // Runs the harness copied into a folder of its own beside DRIVER_FILE,
    // which it finds there as TAVRIND.dll.
    RunResult RunBeside(const std::string& script, const std::string& driverFile,
                        const Environment& environment = {});
    // Runs PROGRAM (a harness wherever it lies) on SCRIPT in the working folder.
    RunResult RunProgram(const std::string& program, const std::string& script,
                         const Environment& environment = {}, const std::vector<std::string>& prefix = {});

    static bool PartialDriverAvailable();
    // The harness program these runs use.
    static std::string Harness();
    // True when the harness runs natively (no runner such as Wine in front).
    static bool Native();

private:
    RunResult RunPlaced(const std::string& script, Driver driver, const std::string& driverFile,
                        const Environment& environment, const std::vector<std::string>& prefix = {});

    int runs_ = 0;
};

std::vector<SettingsEntry> ParseSettings(const std::string& text);
