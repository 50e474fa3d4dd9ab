#include "tests/desktop/program_run.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "tests/child_exec.hpp"
#include "tests/file_text.hpp"

namespace fs = std::filesystem;

ProgramRun::ProgramRun() {
    std::string pattern = (fs::temp_directory_path() / "korvane16-program-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a working folder");
    folder_ = pattern;
    fs::create_directory(folder_ + "/work");
    fs::create_directory(RuntimeFolder());
    fs::permissions(RuntimeFolder(), fs::perms::owner_all);
}

ProgramRun::~ProgramRun() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

void ProgramRun::WriteSettings(const std::string& text) const { WriteFileText(SettingsPath(), text); }

bool ProgramRun::SettingsExist() const { return fs::exists(SettingsPath()); }

std::string ProgramRun::Settings() const { return ReadFileText(SettingsPath()); }

std::vector<std::string> ProgramRun::Journal() const {
    std::vector<std::string> lines;
    std::istringstream in(ReadFileText(folder_ + "/journal.txt"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

Started ProgramRun::Start(const std::vector<std::string>& arguments,
                          const std::vector<std::pair<std::string, std::string>>& environment,
                          const std::optional<std::string>& standardOutput, const std::string& other) {
    const std::string output = folder_ + "/out" + std::to_string(++started_);
    const pid_t child = fork();
    if (child != 0) return {child, started_};
    if (chdir((folder_ + "/work").c_str()) != 0) _exit(126);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_RUNTIME_DIR", RuntimeFolder().c_str(), 1);
    setenv("TAVRIND_JOURNAL", (folder_ + "/journal.txt").c_str(), 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    for (const auto& [name, value] : environment) {
        if (value == "-") unsetenv(name.c_str());
        else setenv(name.c_str(), value.c_str(), 1);
    }
    // Another build of the program can stand in, e.g. to see these tests fail on it.
    const char* program = std::getenv("KORVANE16_PROGRAM");
    std::vector<std::string> words{program != nullptr && *program != '\0' ? program : KORVANE16_PROGRAM};
    if (!other.empty()) words = {other};
    words.insert(words.end(), arguments.begin(), arguments.end());
    ExecWithOutputFiles(std::move(words), standardOutput.value_or(output + ".out"), output + ".err");
}

Finished ProgramRun::Wait(const Started& process, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(process.pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (ended == 0) {
        kill(process.pid, SIGKILL);
        waitpid(process.pid, &status, 0);
    }
    Finished finished;
    finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    const std::string output = folder_ + "/out" + std::to_string(process.number);
    finished.out = ReadFileText(output + ".out");
    finished.err = ReadFileText(output + ".err");
    return finished;
}

Finished ProgramRun::Run(const std::vector<std::string>& arguments,
                         const std::vector<std::pair<std::string, std::string>>& environment) {
    return Wait(Start(arguments, environment));
}

bool ProgramRun::WaitForJournalLine(const std::string& line, double seconds) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::vector<std::string> journal = Journal();
        if (std::find(journal.begin(), journal.end(), line) != journal.end()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

bool ProgramRun::WaitForStartUp(double seconds) const {
    if (!WaitForJournalLine("OvrEdgeEnhance 0", seconds)) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (Settings().find("SetParameter=0") == std::string::npos) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
