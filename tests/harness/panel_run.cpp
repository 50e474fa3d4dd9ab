#include "tests/harness/panel_run.hpp"

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "tests/file_text.hpp"

namespace fs = std::filesystem;

namespace {

std::string FromEnvironment(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : fallback;
}

std::string HarnessProgram() { return FromEnvironment("KORVANE16_HARNESS", KORVANE16_DEFAULT_HARNESS); }
std::string PartialDriver() { return FromEnvironment("KORVANE16_PARTIAL_DRIVER", KORVANE16_DEFAULT_PARTIAL_DRIVER); }

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// Puts the harness where this run wants it: as built (beside the stand-in), or
// copied into a folder of its own, alone or beside DRIVER_FILE (the partial
// stand-in for Driver::Partial).
std::string PlaceHarness(const fs::path& runFolder, Driver driver, std::string driverFile) {
    const fs::path harness = HarnessProgram();
    if (driver == Driver::StandIn && driverFile.empty()) return harness.string();
    const fs::path programs = runFolder / "programs";
    fs::create_directories(programs);
    fs::copy_file(harness, programs / harness.filename());
    if (driver == Driver::Partial) driverFile = PartialDriver();
    if (!driverFile.empty()) fs::copy_file(driverFile, programs / "TAVRIND.dll");
    return (programs / harness.filename()).string();
}

}  // namespace

std::vector<SettingsEntry> ParseSettings(const std::string& text) {
    std::vector<SettingsEntry> entries;
    std::string section;
    for (std::string line : SplitLines(text)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        entries.push_back({section, line.substr(0, equals), line.substr(equals + 1)});
    }
    return entries;
}

std::string RunResult::Setting(const std::string& section, const std::string& key) const {
    for (const SettingsEntry& entry : settings)
        if (entry.section == section && entry.key == key) return entry.value;
    return "<missing>";
}

std::string PanelRun::Harness() { return HarnessProgram(); }

bool PanelRun::PartialDriverAvailable() { return !PartialDriver().empty() && fs::exists(PartialDriver()); }

bool PanelRun::Native() { return Words(FromEnvironment("KORVANE16_RUNNER", "")).empty(); }

RunResult PanelRun::Run(const std::string& script, Driver driver, const Environment& environment,
                        const std::vector<std::string>& prefix) {
    return RunPlaced(script, driver, "", environment, prefix);
}

RunResult PanelRun::RunBeside(const std::string& script, const std::string& driverFile,
                              const Environment& environment) {
    return RunPlaced(script, Driver::None, driverFile, environment);
}

RunResult PanelRun::RunPlaced(const std::string& script, Driver driver, const std::string& driverFile,
                              const Environment& environment, const std::vector<std::string>& prefix) {
    const fs::path run = fs::path(Folder()) / ("run" + std::to_string(runs_ + 1));
    return RunProgram(PlaceHarness(run, driver, driverFile), script, environment, prefix);
}

RunResult PanelRun::RunProgram(const std::string& program, const std::string& script,
                               const Environment& environment, const std::vector<std::string>& prefix) {
    const fs::path run = fs::path(Folder()) / ("run" + std::to_string(++runs_));
    fs::create_directories(run);
    const fs::path scriptFile = run / "script.txt", journal = run / "journal.txt";
    const fs::path out = run / "out.txt", err = run / "err.txt";
    WriteFileText(scriptFile, script);

    std::vector<std::string> command = Words(FromEnvironment("KORVANE16_RUNNER", ""));
    command.insert(command.end(), prefix.begin(), prefix.end());
    command.push_back(program);
    command.push_back(scriptFile.string());
    // Each case its own settings lock, so cases running side by side never
    // wait for each other; a runner such as Wine keeps the one it was given.
    Environment withJournal{{"TAVRIND_JOURNAL", journal.string()}};
    if (!Native()) withJournal.push_back({"XDG_RUNTIME_DIR", FromEnvironment("XDG_RUNTIME_DIR", "-")});
    withJournal.insert(withJournal.end(), environment.begin(), environment.end());
    RunResult result;
    static_cast<Finished&>(result) =
        Reap(Spawn(command, withJournal, out.string(), err.string(), /*searchPath=*/true), out.string(), err.string());
    result.journal = SplitLines(ReadFileText(journal));
    result.settingsExist = SettingsExist();
    result.settingsText = Settings();
    result.settings = ParseSettings(result.settingsText);
    return result;
}
