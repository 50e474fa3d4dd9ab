// The settings file through the system's own private-profile functions, so a
// file written here means on Windows exactly what Windows makes of it.
#include "platform/profile_file.hpp"

#include <windows.h>

// windows.h names one of its own functions so; here the name is the panel's.
#undef WriteProfileString

namespace platform {

std::int32_t ReadProfileInt(const char* section, const char* key, std::int32_t defaultValue, const char* file) {
    // The value comes back as an unsigned 32-bit integer; its bits are the signed one.
    return static_cast<std::int32_t>(GetPrivateProfileIntA(section, key, defaultValue, file));
}

bool WriteProfileString(const char* section, const char* key, const char* value, const char* file) {
    return WritePrivateProfileStringA(section, key, value, file) != FALSE;
}

}  // namespace platform
