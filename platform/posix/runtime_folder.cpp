#include "platform/runtime_folder.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string Reason(const std::string& what) { return what + ": " + std::strerror(errno); }

}  // namespace

// $XDG_RUNTIME_DIR when set, else /tmp/korvane16-UID, created 0700 and checked
// to be the user's own and private.
std::optional<std::string> UserRuntimeFolder(std::string& error) {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/')
        return std::string(runtime);
    const std::string folder = "/tmp/korvane16-" + std::to_string(getuid());
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = Reason("cannot create " + folder);
        return std::nullopt;
    }
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0) {
        error = Reason("cannot examine " + folder);
        return std::nullopt;
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != getuid() || (info.st_mode & 077) != 0) {
        error = folder + " is not a private folder of this user";
        return std::nullopt;
    }
    return folder;
}

}  // namespace platform
