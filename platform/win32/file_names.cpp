#include "platform/file_names.hpp"

#include <windows.h>

namespace platform {

std::string FullFileName(const char* file) {
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(file, sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full) return file;
    return std::string(full, length);
}

}  // namespace platform
