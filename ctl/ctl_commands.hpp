// The commands of korvane16-ctl. Each works on the settings file chosen with
// ChooseSettingsFile, one locked access per key, and returns the exit status.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace exit_status {
inline constexpr int Ok = 0;
inline constexpr int Failure = 1;  // lock, file, panel running, write
inline constexpr int Usage = 2;
}  // namespace exit_status

// The options that change what a command prints or whether it writes.
struct CommandOptions {
    bool json = false;    // list, get: one JSON array
    bool long_ = false;   // list: with each setting's values and default
    bool dryRun = false;  // set, import, apply: say what would change, write nothing
};

// Which settings file the commands work on.
enum class FileChoice {
    WorkingFolder,  // ./KORVANE16.ini, which may be missing
    Desktop,        // the desktop menu entry's file, which may be missing
    Named,          // --file FILE, which must exist
};
// Chooses the file; false, with the reason on ERR, when it cannot be named.
bool ChooseSettingsFile(FileChoice choice, const std::string& named, std::ostream& err);

// False, with the reason on ERR, when the settings file exists but cannot be
// read, or is a named file that does not exist. A missing file that may be
// missing is read as all defaults; READING says so on ERR in one line.
bool CheckReadable(std::ostream& err, bool reading = false);

// Every setting, "NAME VALUE" a line (or as OPTIONS ask).
int ListSettings(const CommandOptions& options, std::ostream& out, std::ostream& err);
// "NAME VALUE" for each name given; an unknown name prints nothing at all.
int GetSettings(const std::vector<std::string>& names, const CommandOptions& options, std::ostream& out,
                std::ostream& err);
// Checks every NAME=VALUE first and writes nothing when one is wrong; prints
// "NAME OLD NEW" for each setting that changed.
int SetSettings(const std::vector<std::string>& assignments, const CommandOptions& options, std::ostream& out,
                std::ostream& err);
// NAME=VALUE lines of every setting to FILE ("-": OUT).
int ExportSettings(const std::string& file, std::ostream& out, std::ostream& err);
// Reads NAME=VALUE lines from FILE ("-": standard input) and sets them all or
// none.
int ImportSettings(const std::string& file, const CommandOptions& options, std::ostream& out, std::ostream& err);
// Programs the board from the file as a panel start with the show-panel flag at
// 0 does, leaving the flag as it is.
int ApplySettings(const CommandOptions& options, std::ostream& out, std::ostream& err);
