// Fuzzes how a number typed into a box is read. Invariants: the result is the
// number the text starts with (after white space and one sign), worked out
// here from its digits in wider arithmetic and held at the nearer 32-bit
// limit; and a number written out reads back as itself.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "dialog/operator_number.hpp"
#include "tests/fuzz/fuzz_names.hpp"

namespace {

std::int64_t Expected(std::string_view text) {
    std::size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string_view::npos) return 0;
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+') ++i;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (magnitude < (std::int64_t{1} << 40)) magnitude = magnitude * 10 + (text[i] - '0');
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    const std::int64_t low = std::numeric_limits<std::int32_t>::min(), high = std::numeric_limits<std::int32_t>::max();
    return value < low ? low : value > high ? high : value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::int32_t read = ReadOperatorNumber(text);
    FUZZ_CHECK(read == Expected(text));
    FUZZ_CHECK(ReadOperatorNumber(std::to_string(read)) == read);
    return 0;
}
