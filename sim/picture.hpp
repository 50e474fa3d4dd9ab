// A picture as the board draws it: 8-bit R, G, B per pixel, rows top to bottom.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> bytes;  // width * height * 3

    void Resize(int w, int h) {
        width = w;
        height = h;
        bytes.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3, 0);
    }
    Rgb* Row(int y) { return reinterpret_cast<Rgb*>(bytes.data() + static_cast<std::size_t>(y) * width * 3); }
    Rgb At(int x, int y) const {
        const std::uint8_t* p = bytes.data() + (static_cast<std::size_t>(y) * width + x) * 3;
        return {p[0], p[1], p[2]};
    }
};

static_assert(sizeof(Rgb) == 3 && alignof(Rgb) == 1, "a picture row is an array of Rgb");

}  // namespace sim
