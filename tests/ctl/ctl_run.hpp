// Runs korvane16-ctl as a fresh process in a run folder of its own, with the
// stand-in driver's journal and the settings lock in that folder.
//
// Environment (so the same tests drive an installed tool):
//   KORVANE16_CTL   the tool (default: the one built here)
//   KORVANE16_PANEL the desktop panel (default: the one built here, if any)
#pragma once

#include <string>
#include <vector>

#include "tests/file_text.hpp"
#include "tests/run_folder.hpp"

class CtlFolder : public RunFolder {
public:
    Finished Run(const std::vector<std::string>& args) const { return Wait(Start(args)); }
    // The tool copied alone into a folder of its own, where it finds no driver.
    Finished RunAlone(const std::vector<std::string>& args) const;

    pid_t Start(const std::vector<std::string>& args) const { return StartProgram(Tool(), args, "tool"); }
    // PROGRAM in this folder, its output in STEM.out and STEM.err.
    pid_t StartProgram(const std::string& program, const std::vector<std::string>& args,
                       const std::string& stem) const;
    Finished Wait(pid_t child, const std::string& stem = "tool") const;
    static std::string Tool();
};
