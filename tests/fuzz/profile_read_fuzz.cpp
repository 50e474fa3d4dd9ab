// Fuzzes the settings-file reader and the integer read of a value.
// Input: one byte choosing the section, one the key, then the file's text.
// Invariants:
//  - the line-end style does not change what a key reads: CR LF, LF and a CR
//    alone are each a line end;
//  - a UTF-8 byte-order mark before the text changes nothing;
//  - a value found never holds a line end, nor blanks at its ends;
//  - a value that is a plain decimal number of up to 28 digits reads as that
//    number modulo 2^32, worked out here in wider arithmetic.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "platform/profile_text.hpp"
#include "tests/fuzz/fuzz_names.hpp"

namespace {

// TEXT with every line end written as END.
std::string WithLineEnds(std::string_view text, std::string_view end) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        if (text[i] == '\r' || text[i] == '\n')
            result.append(end);
        else
            result += text[i];
    }
    return result;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// The number a plain decimal VALUE ("-12", "+7", "0042") stands for, modulo
// 2^32 as a signed 32-bit integer; nullopt for any other value.
std::optional<std::int32_t> PlainDecimal(std::string_view value) {
    const bool negative = value.starts_with('-');
    if (negative || value.starts_with('+')) value.remove_prefix(1);
    if (value.empty() || value.size() > 28) return std::nullopt;
    unsigned __int128 number = 0;
    for (const char c : value) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + static_cast<unsigned>(c - '0');
    }
    std::uint32_t low = static_cast<std::uint32_t>(number & 0xFFFFFFFFu);
    if (negative) low = ~low + 1u;
    return static_cast<std::int32_t>(low);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::string_view section = fuzz::kSections[data[0] % std::size(fuzz::kSections)];
    const std::string_view key = fuzz::kKeys[data[1] % std::size(fuzz::kKeys)];
    const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);

    const std::optional<std::string> value = profile::FindValue(text, section, key);
    FUZZ_CHECK(profile::FindValue(WithLineEnds(text, "\n"), section, key) == value);
    FUZZ_CHECK(profile::FindValue(WithLineEnds(text, "\r"), section, key) == value);
    FUZZ_CHECK(profile::FindValue(WithLineEnds(text, "\r\n"), section, key) == value);
    if (!text.starts_with("\xEF\xBB\xBF"))
        FUZZ_CHECK(profile::FindValue("\xEF\xBB\xBF" + std::string(text), section, key) == value);
    if (!value) return 0;
    FUZZ_CHECK(value->find_first_of("\r\n") == std::string::npos);
    FUZZ_CHECK(value->empty() || (!IsBlank(value->front()) && !IsBlank(value->back())));
    if (const std::optional<std::int32_t> number = PlainDecimal(*value))
        FUZZ_CHECK(profile::ParseInt(*value, -77) == *number);
    return 0;
}
