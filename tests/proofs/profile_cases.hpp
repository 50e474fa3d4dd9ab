// Generated settings files for comparing two readers of the same text: many
// line shapes and value spellings, and the keys to ask of each file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct ProfileQuery {
    std::string file, section, key;
    std::int32_t defaultValue = 0;
};

// A query line: FILE, SECTION, KEY and DEFAULT separated by tabs.
std::optional<ProfileQuery> ParseQuery(std::string_view line);

// Writes FILES generated files into FOLDER (which must exist) and the queries
// to ask of them, FOLDER/queries.txt. The same SEED gives the same files.
bool GenerateProfileCases(std::uint32_t seed, int files, const std::string& folder);
