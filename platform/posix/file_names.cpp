#include "platform/file_names.hpp"

#include <unistd.h>

#include <climits>

namespace platform {

std::string FullFileName(const char* file) {
    // Only the panel's own Windows-style name ".\NAME" is converted, as the
    // settings file layer converts it; any other backslash belongs to a name.
    std::string name(file);
    if (name.starts_with(".\\") && name.find_first_of("/\\", 2) == std::string::npos) name[1] = '/';
    if (!name.empty() && name.front() == '/') return name;
    while (name.rfind("./", 0) == 0) name.erase(0, 2);
    char folder[PATH_MAX];
    if (getcwd(folder, sizeof folder) == nullptr) return name;
    const std::string base(folder);
    return base == "/" ? "/" + name : base + "/" + name;
}

}  // namespace platform
