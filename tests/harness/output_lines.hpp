// Picking lines out of what the harness printed.
#pragma once

#include <sstream>
#include <string>
#include <vector>

// The printed line that starts with WORD and a blank (a dump line by control
// id, a state line by its label), or "<none>".
inline std::string LineOf(const std::string& out, const std::string& word) {
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(word + " ", 0) == 0) return line;
    return "<none>";
}

inline std::vector<std::string> LinesStartingWith(const std::string& out, const std::string& start) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(start, 0) == 0) lines.push_back(line);
    return lines;
}
