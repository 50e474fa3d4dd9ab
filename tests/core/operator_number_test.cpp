#include "dialog/operator_number.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(OperatorNumber, ReadsASignedDecimalPrefixAfterWhiteSpace) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"", 0},         {"abc", 0},     {"-", 0},         {"+", 0},       {"7", 7},         {"+7", 7},
        {"-4", -4},      {" 5x", 5},     {"\t\n\v\f\r9", 9}, {"3x", 3},    {"1 2", 1},       {"- 5", 0},
        {"--5", 0},      {"0012", 12},   {"0x10", 0},      {"    ", 0},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(ReadOperatorNumber(text), expected) << '"' << text << '"';
}

TEST(OperatorNumber, NumbersBeyond32BitsStopAtTheLimitsInsteadOfOverflowing) {
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(ReadOperatorNumber("2147483647"), kMax);
    EXPECT_EQ(ReadOperatorNumber("2147483648"), kMax);
    EXPECT_EQ(ReadOperatorNumber("-2147483648"), kMin);
    EXPECT_EQ(ReadOperatorNumber("-2147483649"), kMin);
    EXPECT_EQ(ReadOperatorNumber("99999999999999999999999999999"), kMax);
    EXPECT_EQ(ReadOperatorNumber("-99999999999999999999999999999"), kMin);
}

}  // namespace
