// Runs korvane16-ctl as a fresh process in a working folder of its own, with
// the stand-in driver's journal and the settings lock in that folder.
//
// Environment (so the same tests drive an installed tool):
//   KORVANE16_CTL   the tool (default: the one built here)
//   KORVANE16_PANEL the desktop panel (default: the one built here, if any)
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/settings/settings_folder.hpp"  // ReadText, WriteText

struct ToolResult {
    int status = -1;
    std::string out, err;
};

class CtlFolder {
public:
    CtlFolder();
    ~CtlFolder();
    CtlFolder(const CtlFolder&) = delete;
    CtlFolder& operator=(const CtlFolder&) = delete;

    std::string Path(const std::string& name) const { return folder_ + "/" + name; }
    void WriteSettings(const std::string& text) const;
    std::string Settings() const;
    bool SettingsExist() const;
    std::vector<std::string> Journal() const;
    // The settings lock's file, as the panel and the tool take it here.
    std::string LockFile() const { return Path("runtime/ZEDevudIzazIni"); }

    ToolResult Run(const std::vector<std::string>& args) const { return Wait(Start(args)); }
    // The tool copied alone into a folder of its own, where it finds no driver.
    ToolResult RunAlone(const std::vector<std::string>& args) const;

    pid_t Start(const std::vector<std::string>& args) const { return StartProgram(Tool(), args, "tool"); }
    // PROGRAM in this folder, its output in STEM.out and STEM.err.
    pid_t StartProgram(const std::string& program, const std::vector<std::string>& args,
                       const std::string& stem) const;
    ToolResult Wait(pid_t child, const std::string& stem = "tool") const;
    static std::string Tool();

private:
    std::string folder_;
};

std::vector<std::string> SplitLines(const std::string& text);
