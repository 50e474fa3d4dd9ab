// The private-profile text layout, read and edited in memory. Platform-neutral:
// the POSIX file layer is built on it, and its reading matches the Windows one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace profile {

// The value of KEY in the first SECTION of TEXT, blanks around it removed, or
// nullopt when the section or key is missing. Lines end at CR LF, LF or CR.
// Names match without regard to ASCII letter case; of two equal keys the first
// counts; a line without "=" names a key with an empty value.
std::optional<std::string> FindValue(std::string_view text, std::string_view section, std::string_view key);

// The private-profile integer reading of a value found by FindValue: one pair of
// matching single or double quotes dropped and at most 29 characters taken
// (28 of a quoted text of exactly 29); empty gives DEFAULT; else blanks and
// control characters skipped, an optional sign, one lowercase "0b", "0o" or
// "0x" choosing binary, octal or hex (decimal otherwise), and the digits that
// follow, wrapping modulo 2^32; no digits give 0.
std::int32_t ParseInt(std::string_view value, std::int32_t defaultValue);

// TEXT with KEY in SECTION set to VALUE, or nullopt when the key already holds
// exactly that value (the file is then left untouched). Only the key's own line
// changes; a new key goes after the last key line of its section, a new section
// at the end of the text.
std::optional<std::string> SetValue(std::string_view text, std::string_view section, std::string_view key,
                                    std::string_view value);

}  // namespace profile
