// The command line of korvane16: the panel's own options and the toolkit's,
// read before anything else happens, so that --help, --version and a mistyped
// option need no display and touch neither the board nor the settings file.
#pragma once

#include <string>
#include <vector>

struct CommandLine {
    enum class Action { RunPanel, Help, Version, Refuse };
    Action action = Action::RunPanel;
    bool show = false;            // --show
    bool desktop = false;         // --desktop: the settings file of the user's desktop starts
    bool platformGiven = false;   // the toolkit's -platform or -display option names where the window goes
    std::string refusal;          // Refuse: the one line that says why, with the usage
    // What the toolkit gets: the program name and the toolkit's own options.
    std::vector<std::string> toolkitArguments;
};

CommandLine ReadCommandLine(int argc, const char* const* argv);

// The text of --help and of --version, each ending with a line end.
std::string HelpText();
std::string VersionText();
