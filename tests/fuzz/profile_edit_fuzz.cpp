// Fuzzes the settings-file editor. Input: one byte choosing the section, one
// the key, the value's digits up to the first line end, then the file's text.
// Invariants of writing KEY in SECTION:
//  - afterwards the key reads as the value written;
//  - every other key of the sections asked reads as before;
//  - only the key's own line changes, or lines are added: the bytes before and
//    after the change are the old ones, and the old bytes taken out hold no
//    line end;
//  - writing the same value again leaves the text untouched;
//  - the same edit made through the section index gives the same text, and
//    leaves the index that of the edited text; lookups through it agree.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/profile_text.hpp"
#include "tests/fuzz/fuzz_names.hpp"

namespace {

template <typename T, std::size_t N>
std::string_view Pick(const T (&names)[N], std::uint8_t byte) {
    return names[byte % N];
}

bool HasLineEnd(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::string_view section = Pick(fuzz::kSections, data[0]);
    const std::string_view key = Pick(fuzz::kKeys, data[1]);
    std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::size_t valueEnd = std::min(rest.find('\n'), rest.size());
    // A value as the panel writes one: a sign and digits.
    std::string value;
    for (const char c : rest.substr(0, valueEnd))
        if ((c >= '0' && c <= '9') || (c == '-' && value.empty())) value += c;
    if (value.empty()) value = "0";
    const std::string_view text = rest.substr(std::min(valueEnd + 1, rest.size()));

    const std::optional<std::string> edited = profile::SetValue(text, section, key, value);
    profile::SectionIndex index(text);
    FUZZ_CHECK(profile::FindValue(text, index, section, key) == profile::FindValue(text, section, key));
    const std::optional<profile::Edit> edit = profile::PlanSetValue(text, index, section, key, value);
    FUZZ_CHECK(edit.has_value() == edited.has_value());
    if (edit) {
        std::string kept(text);
        profile::ApplyEdit(kept, index, *edit);
        FUZZ_CHECK(kept == *edited);
        FUZZ_CHECK(index == profile::SectionIndex(kept));
    }
    if (!edited) {
        FUZZ_CHECK(profile::FindValue(text, section, key) == value);
        return 0;
    }
    FUZZ_CHECK(profile::FindValue(*edited, section, key) == value);
    FUZZ_CHECK(!profile::SetValue(*edited, section, key, value));
    for (const std::string_view otherSection : fuzz::kSections) {
        for (const std::string_view otherKey : fuzz::kKeys) {
            const bool same = profile::FindValue("[" + std::string(section) + "]\n" + std::string(key) + "=1",
                                                 otherSection, otherKey)
                                  .has_value();
            if (!same) FUZZ_CHECK(profile::FindValue(*edited, otherSection, otherKey) ==
                                  profile::FindValue(text, otherSection, otherKey));
        }
    }
    const std::size_t before = std::mismatch(text.begin(), text.end(), edited->begin(), edited->end()).first - text.begin();
    std::size_t after = 0;
    while (after < text.size() - before && after < edited->size() - before &&
           text[text.size() - 1 - after] == (*edited)[edited->size() - 1 - after])
        ++after;
    FUZZ_CHECK(!HasLineEnd(text.substr(before, text.size() - before - after)));
    return 0;
}
