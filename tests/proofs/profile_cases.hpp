// Generated settings files for comparing two readers of the same text: many
// line shapes and value spellings, and the keys to ask of each file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A key to read (with its default) or to write (with its new value).
struct ProfileQuery {
    std::string file, section, key, value;
};

// A query line: FILE, SECTION, KEY and DEFAULT or VALUE separated by tabs.
std::optional<ProfileQuery> ParseQuery(std::string_view line);

// Writes FILES generated files into FOLDER (which must exist), the keys to
// read from them, FOLDER/queries.txt, and edits to make to them, in order,
// FOLDER/edits.txt. The same SEED gives the same files.
bool GenerateProfileCases(std::uint32_t seed, int files, const std::string& folder);
