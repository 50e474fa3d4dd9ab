// The desktop program korvane16 run as the operator runs it: a process of its
// own in a run folder of its own, on Qt's offscreen platform, with the
// stand-in driver's journal switched on and a private run-time folder. The
// environment variable KORVANE16_PROGRAM names another build to run instead.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tests/run_folder.hpp"

struct Started {
    pid_t pid = -1;
    int number = 0;  // which start of this run
};

class ProgramRun : public RunFolder {
public:
    ProgramRun() : RunFolder("work") {}

    // Starts the program with ARGUMENTS; ENVIRONMENT adds or replaces variables
    // (a value "-" removes one). OUTPUT, when given, replaces the file that
    // takes standard output ("" closes it); PROGRAM replaces korvane16.
    Started Start(const std::vector<std::string>& arguments, const Environment& environment = {},
                  const std::optional<std::string>& output = std::nullopt, const std::string& program = "");
    // Waits up to SECONDS for the process to end (killed after that).
    Finished Wait(const Started& process, double seconds = 30);
    // Start and Wait.
    Finished Run(const std::vector<std::string>& arguments, const Environment& environment = {});
    // Waits until the journal holds LINE (the panel has come that far).
    bool WaitForJournalLine(const std::string& line, double seconds = 30) const;
    // Waits until the start-up is over: the board is up and the show-panel
    // flag has been cleared in the settings file.
    bool WaitForStartUp(double seconds = 30) const;

private:
    std::string OutputStem(int number) const { return Path("out" + std::to_string(number)); }

    int started_ = 0;
};
