// Sines and cosines as 16.16 fixed-point tables made at compile time, so the
// pictures are the same bytes on every machine and compiler.
#pragma once

#include <array>
#include <cstdint>
#include <numbers>

namespace sim {

namespace trig_detail {

constexpr double Sine(double x) {
    while (x > std::numbers::pi) x -= 2 * std::numbers::pi;
    while (x < -std::numbers::pi) x += 2 * std::numbers::pi;
    double term = x, sum = x;
    for (int n = 1; n < 30; ++n) {
        term *= -x * x / ((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

constexpr std::int32_t ToFixed(double v) {
    const double scaled = v * 65536.0;
    return static_cast<std::int32_t>(scaled >= 0 ? scaled + 0.5 : scaled - 0.5);
}

}  // namespace trig_detail

struct FixedDirection {
    std::int32_t sine, cosine;  // 16.16
};

// STEPS directions a full turn apart, clockwise from 0 at step 0, with the
// angle of step i = (i + FIRST) * 360 / STEPS degrees.
template <int Steps, int First = 0>
constexpr std::array<FixedDirection, Steps> MakeDirections() {
    std::array<FixedDirection, Steps> table{};
    for (int i = 0; i < Steps; ++i) {
        const double angle = 2 * std::numbers::pi * (i + First) / Steps;
        table[static_cast<std::size_t>(i)] = {trig_detail::ToFixed(trig_detail::Sine(angle)),
                                              trig_detail::ToFixed(trig_detail::Sine(angle + std::numbers::pi / 2))};
    }
    return table;
}

}  // namespace sim
