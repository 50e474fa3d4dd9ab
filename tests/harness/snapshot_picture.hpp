// Reading the stand-in's snapshot file: a binary PPM.
#pragma once

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "sim/picture.hpp"

// The picture in FILE, or nothing when it is missing or not a P6 file of
// 8-bit samples with the header fields the board writes.
inline std::optional<sim::Picture> ReadSnapshot(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxval = 0;
    if (!(in >> magic >> width >> height >> maxval) || magic != "P6" || maxval != 255 || width <= 0 || height <= 0)
        return std::nullopt;
    in.get();  // the one blank or line feed before the samples
    sim::Picture picture;
    picture.Resize(width, height);
    in.read(reinterpret_cast<char*>(picture.bytes.data()), static_cast<std::streamsize>(picture.bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(picture.bytes.size()) || in.peek() != EOF) return std::nullopt;
    return picture;
}
