// The settings-file work the operator waits for, as the panel does it: the
// start-up's 99 reads and the close's 99 writes, on files of other programs'
// lines around the panel's sections. Shared by the benchmark on Linux and the
// timed tool of the Windows build, so that both measure the same work.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/settings_keys.hpp"

namespace bench {

inline constexpr int kKeyCount = static_cast<int>(kSettingKeyCount);
inline constexpr int kFlagIndex = kKeyCount - 1;  // the show-panel flag: the last write of the close

// The 99 values of the close, in its write order; the last is the show-panel flag.
using Values = std::array<std::int32_t, kKeyCount>;

// What the panel holds after a start without a settings file, with the flag 1.
Values StartValues();

// VALUES with K of them changed (K = 99: every setting and the flag),
// spread over the file.
Values ChangedValues(const Values& values, int k);

// The text of a settings file: FOREIGN_BYTES of other programs' lines, half
// before and half after the panel's sections, which hold VALUES.
std::string SettingsFileText(std::size_t foreignBytes, const Values& values);

// The start-up's reads, exactly the panel's: the five groups into the
// settings model, then the show-panel flag. Returns the values read.
Values StartUpReads();

// The close: puts VALUES into the settings model and saves it as the panel
// does, 99 writes. False when a write failed.
bool Close(const Values& values);

// How many of the 99 keys hold other values in the two texts.
int KeysThatDiffer(const std::string& a, const std::string& b);

}  // namespace bench
