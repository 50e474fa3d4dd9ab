// The harness's script, from a file or from standard input, read so that a
// termination signal ends the reading at once, also while it waits on a pipe
// or a terminal for the next line.
#pragma once

#include <istream>
#include <memory>
#include <string>

// The script at PATH, or standard input when PATH is null; null with the
// reason in ERROR when it cannot be opened.
std::unique_ptr<std::istream> OpenScript(const char* path, std::string& error);
