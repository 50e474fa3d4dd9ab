// What the fuzz targets share: the section and key names they ask for (the
// panel's own and a few near misses) and the check that stops a run.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace fuzz {

inline constexpr std::string_view kSections[] = {"General", "Format", "Camera", "Attribute1", "attribute16", "A"};
inline constexpr std::string_view kKeys[] = {"DIV", "Position0", "SetParameter", "PAL", "Camera1", "HUE", "x"};

}  // namespace fuzz

// An invariant the input broke: said, then the run stops as a crash would.
#define FUZZ_CHECK(condition)                                                                    \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                        \
        }                                                                                        \
    } while (false)
