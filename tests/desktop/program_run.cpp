#include "tests/desktop/program_run.hpp"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

Started ProgramRun::Start(const std::vector<std::string>& arguments, const Environment& environment,
                          const std::optional<std::string>& standardOutput, const std::string& other) {
    const std::string output = OutputStem(++started_);
    Environment offscreen{{"QT_QPA_PLATFORM", "offscreen"}, {"DISPLAY", "-"}, {"WAYLAND_DISPLAY", "-"}};
    offscreen.insert(offscreen.end(), environment.begin(), environment.end());
    // Another build of the program can stand in, e.g. to see these tests fail
    // on it; the test's own ENVIRONMENT may name it too.
    const char* named = std::getenv("KORVANE16_PROGRAM");
    std::string program = named != nullptr ? named : "";
    for (const auto& [name, value] : environment)
        if (name == "KORVANE16_PROGRAM") program = value == "-" ? "" : value;
    std::vector<std::string> words{program.empty() ? KORVANE16_PROGRAM : program};
    if (!other.empty()) words = {other};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return {Spawn(words, offscreen, standardOutput.value_or(output + ".out"), output + ".err"), started_};
}

Finished ProgramRun::Wait(const Started& process, double seconds) {
    const std::string output = OutputStem(process.number);
    return Reap(process.pid, output + ".out", output + ".err", seconds);
}

Finished ProgramRun::Run(const std::vector<std::string>& arguments, const Environment& environment) {
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
