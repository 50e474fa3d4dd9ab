// How the panel reads a number the operator typed into a box.
#pragma once

#include <cstdint>
#include <string_view>

// Leading white space skipped, one optional sign, then decimal digits up to the
// first other character; text without digits gives 0. A number too large for
// 32 bits stops at the nearer limit instead of overflowing.
std::int32_t ReadOperatorNumber(std::string_view text);
