// Placeholder until the profile layer lands.
#include "platform/profile_file.hpp"

namespace platform {
std::int32_t ReadProfileInt(const char*, const char*, std::int32_t defaultValue, const char*) { return defaultValue; }
bool WriteProfileString(const char*, const char*, const char*, const char*) { return false; }
}  // namespace platform
