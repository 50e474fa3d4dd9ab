// A picture as a binary PPM file (P6, maxval 255), replacing FILE atomically:
// a reader finds the old picture or the new one, never part of one.
#pragma once

#include <string>

#include "sim/picture.hpp"

namespace sim {

std::string PpmBytes(const Picture& picture);

// False with the reason in ERROR when the file could not be written.
bool WritePpmAtomically(const std::string& path, const Picture& picture, std::string& error);

}  // namespace sim
