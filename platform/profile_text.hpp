// The private-profile text layout, read and edited in memory. Platform-neutral:
// the POSIX file layer is built on it, and its reading matches the Windows one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace profile {

struct Edit;

// Where the sections of a text begin, so that a lookup goes straight to the
// first section of its name instead of reading the text from the top. Built
// once per text read; ApplyEdit keeps it in step with each edit.
class SectionIndex {
public:
    SectionIndex() = default;
    explicit SectionIndex(std::string_view text);

    // Where the header line of the first section named NAME begins (names
    // compared as FindValue compares them), or npos when there is none.
    std::size_t Find(std::string_view name) const;

    bool operator==(const SectionIndex&) const = default;

private:
    friend void ApplyEdit(std::string& text, SectionIndex& index, const Edit& edit);
    void Shift(std::size_t from, std::ptrdiff_t delta);
    void Add(std::size_t header, std::string_view name);

    std::vector<std::size_t> headers_;                     // every header line's begin, ascending
    std::unordered_map<std::string, std::size_t> first_;  // lower-case name -> its first entry in headers_
};

// One change of a text: REMOVED bytes at AT give way to INSERTED.
struct Edit {
    std::size_t at = 0;
    std::size_t removed = 0;
    std::string inserted;
    // Where a new section's header begins inside INSERTED, for the index.
    std::optional<std::size_t> newHeader;
    std::string newSectionName;
    // The edit changes which lines are headers in a way the index cannot
    // follow by shifting (a name or value holding a line end, a key line
    // that reads as a header): the index is built anew.
    bool reshapes = false;
};

// The value of KEY in the first SECTION of TEXT, blanks around it removed, or
// nullopt when the section or key is missing. Lines end at CR LF, LF or CR.
// Names match without regard to ASCII letter case; of two equal keys the first
// counts; a line without "=" names a key with an empty value.
std::optional<std::string> FindValue(std::string_view text, std::string_view section, std::string_view key);
// The same through INDEX, the index of TEXT: only the section is read.
std::optional<std::string> FindValue(std::string_view text, const SectionIndex& index, std::string_view section,
                                     std::string_view key);

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

// The edit SetValue makes, found through INDEX (the index of TEXT); nullopt
// when the key already holds exactly VALUE.
std::optional<Edit> PlanSetValue(std::string_view text, const SectionIndex& index, std::string_view section,
                                 std::string_view key, std::string_view value);

// Makes EDIT in TEXT and keeps INDEX the index of the result.
void ApplyEdit(std::string& text, SectionIndex& index, const Edit& edit);

}  // namespace profile
