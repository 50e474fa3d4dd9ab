#include "tests/harness/panel_run.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tests/child_exec.hpp"

namespace fs = std::filesystem;

namespace {

std::string FromEnvironment(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : fallback;
}

std::string HarnessProgram() { return FromEnvironment("KORVANE16_HARNESS", KORVANE16_DEFAULT_HARNESS); }
std::string PartialDriver() { return FromEnvironment("KORVANE16_PARTIAL_DRIVER", KORVANE16_DEFAULT_PARTIAL_DRIVER); }

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

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
    for (std::string line : Lines(text)) {
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

PanelRun::PanelRun() {
    std::string pattern = (fs::temp_directory_path() / "korvane16-run-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a working folder");
    folder_ = pattern;
    fs::create_directory(fs::path(folder_) / "runtime");
    fs::permissions(fs::path(folder_) / "runtime", fs::perms::owner_all);
}

PanelRun::~PanelRun() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

void PanelRun::WriteSettings(const std::string& text) { WriteFile(fs::path(folder_) / "KORVANE16.ini", text); }

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
    const fs::path run = fs::path(folder_) / ("run" + std::to_string(runs_ + 1));
    return RunProgram(PlaceHarness(run, driver, driverFile), script, environment, prefix);
}

RunResult PanelRun::RunProgram(const std::string& program, const std::string& script,
                               const Environment& environment, const std::vector<std::string>& prefix) {
    const fs::path run = fs::path(folder_) / ("run" + std::to_string(++runs_));
    fs::create_directories(run);
    const fs::path scriptFile = run / "script.txt", journal = run / "journal.txt";
    const fs::path out = run / "out.txt", err = run / "err.txt";
    WriteFile(scriptFile, script);

    std::vector<std::string> command = Words(FromEnvironment("KORVANE16_RUNNER", ""));
    command.insert(command.end(), prefix.begin(), prefix.end());
    command.push_back(program);
    command.push_back(scriptFile.string());

    const pid_t child = fork();
    if (child == 0) {
        // The panel works in the folder that holds its settings file.
        if (chdir(folder_.c_str()) != 0) _exit(126);
        setenv("TAVRIND_JOURNAL", journal.c_str(), 1);
        // Each case its own settings lock, so cases running side by side never
        // wait for each other.
        if (Native()) setenv("XDG_RUNTIME_DIR", (fs::path(folder_) / "runtime").c_str(), 1);
        for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
        ExecWithOutputFiles(command, out, err, /*search_path=*/true);
    }
    int status = 0;
    waitpid(child, &status, 0);

    RunResult result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadFile(out);
    result.err = ReadFile(err);
    result.journal = Lines(ReadFile(journal));
    const fs::path settings = fs::path(folder_) / "KORVANE16.ini";
    result.settingsExist = fs::exists(settings);
    result.settingsText = ReadFile(settings);
    result.settings = ParseSettings(result.settingsText);
    return result;
}
