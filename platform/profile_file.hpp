// Private-profile (INI) file access, with the observable behaviour of the
// Windows functions GetPrivateProfileIntA and WritePrivateProfileStringA.
#pragma once

#include <cstdint>

namespace platform {

// The integer value of KEY in SECTION of FILE, or DEFAULT for a missing file,
// section or key, or an empty value.
std::int32_t ReadProfileInt(const char* section, const char* key, std::int32_t defaultValue, const char* file);

// Sets KEY in SECTION of FILE to VALUE, creating the file, section and key as
// needed. Every other byte of the file stays as it was, and the file is replaced
// atomically. Returns false when the file could not be written.
bool WriteProfileString(const char* section, const char* key, const char* value, const char* file);

}  // namespace platform
