// The commands of korvane16-ctl. Each works on the settings file chosen with
// UseSettingsFile, one locked access per key, and returns the exit status.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace exit_status {
inline constexpr int Ok = 0;
inline constexpr int Failure = 1;  // lock, file, panel running, write
inline constexpr int Usage = 2;
}  // namespace exit_status

// False, with the reason on ERR, when the settings file exists but cannot be
// read (a missing file is read as all defaults).
bool CheckReadable(std::ostream& err);

// Every setting, "NAME VALUE" a line.
int ListSettings(std::ostream& out, std::ostream& err);
// "NAME VALUE" for each name given; an unknown name prints nothing at all.
int GetSettings(const std::vector<std::string>& names, std::ostream& out, std::ostream& err);
// Checks every NAME=VALUE first and writes nothing when one is wrong.
int SetSettings(const std::vector<std::string>& assignments, std::ostream& err);
// Programs the board from the file as a panel start with the show-panel flag at
// 0 does, leaving the flag as it is.
int ApplySettings(std::ostream& err);
