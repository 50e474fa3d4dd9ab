// korvane16-ctl export and import: every setting as NAME=VALUE lines, the
// form set takes, so a board's setup moves between machines as one file.
#include <fstream>
#include <iostream>

#include "ctl/command_parts.hpp"
#include "ctl/setting_names.hpp"

namespace {

std::string Trimmed(const std::string& line) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

int ExportSettings(const std::string& file, std::ostream& out, std::ostream& err) {
    if (!CheckReadable(err, true)) return exit_status::Failure;
    const std::vector<std::string> shown = ShownValues(ReadStoredValues());
    std::ofstream opened;
    if (file != "-") opened.open(file, std::ios::binary | std::ios::trunc);
    std::ostream& to = file == "-" ? out : opened;
    for (std::size_t i = 0; i < shown.size() && to; ++i) to << AllSettings()[i].name << '=' << shown[i] << '\n';
    to.flush();
    if (to) return exit_status::Ok;
    err << kProgram << "cannot write " << (file == "-" ? "standard output" : file) << '\n';
    return exit_status::Failure;
}

int ImportSettings(const std::string& file, const CommandOptions& options, std::ostream& out, std::ostream& err) {
    std::ifstream opened;
    if (file != "-") {
        opened.open(file, std::ios::binary);
        if (!opened) {
            err << kProgram << "cannot read " << file << '\n';
            return exit_status::Failure;
        }
    }
    std::istream& from = file == "-" ? std::cin : opened;
    Assignments assignments;
    int number = 0;
    for (std::string line; std::getline(from, line);) {
        ++number;
        const std::string word = Trimmed(line);
        if (word.empty() || word.starts_with('#')) continue;
        std::string where(file == "-" ? "standard input" : file);
        where.append(":").append(std::to_string(number)).append(": ");
        if (!ParseAssignment(word, assignments, err, where)) return exit_status::Usage;
    }
    if (from.bad()) {
        err << kProgram << "cannot read " << file << '\n';
        return exit_status::Failure;
    }
    return WriteAssignments(assignments, options, out, err);
}
