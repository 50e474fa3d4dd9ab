#include "platform/file_names.hpp"

#include <unistd.h>

#include <algorithm>
#include <climits>

namespace platform {

std::string FullFileName(const char* file) {
    std::string name(file);
    std::replace(name.begin(), name.end(), '\\', '/');
    if (!name.empty() && name.front() == '/') return name;
    while (name.rfind("./", 0) == 0) name.erase(0, 2);
    char folder[PATH_MAX];
    if (getcwd(folder, sizeof folder) == nullptr) return name;
    const std::string base(folder);
    return base == "/" ? "/" + name : base + "/" + name;
}

}  // namespace platform
