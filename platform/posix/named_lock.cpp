// The named lock as an exclusive flock on a file of that name in a private
// per-user folder. The kernel frees the lock when its holder dies, as Windows
// frees an abandoned mutex.
#include "platform/named_lock.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string Reason(const std::string& what) { return what + ": " + std::strerror(errno); }

// $XDG_RUNTIME_DIR when set, else /tmp/korvane16-UID, created 0700 and checked
// to be the user's own and private, so no other user can hold or fake the lock.
bool PrivateFolder(std::string& folder, std::string& error) {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/') {
        folder = runtime;
        return true;
    }
    folder = "/tmp/korvane16-" + std::to_string(getuid());
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = Reason("cannot create " + folder);
        return false;
    }
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0) {
        error = Reason("cannot examine " + folder);
        return false;
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != getuid() || (info.st_mode & 077) != 0) {
        error = folder + " is not a private folder of this user";
        return false;
    }
    return true;
}

}  // namespace

NamedLock::NamedLock(const char* name) {
    std::string folder;
    if (!PrivateFolder(folder, error_)) return;
    const std::string path = folder + "/" + name;
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error_ = Reason("cannot open " + path);
        return;
    }
    handle_ = fd;
}

NamedLock::~NamedLock() {
    if (Valid()) close(static_cast<int>(handle_));
}

bool NamedLock::Acquire() {
    if (!Valid()) return false;
    if (depth_++ > 0) return true;
    int result;
    do result = flock(static_cast<int>(handle_), LOCK_EX);
    while (result != 0 && errno == EINTR);
    return result == 0;
}

void NamedLock::Release() {
    if (!Valid() || depth_ == 0) return;
    if (--depth_ == 0) flock(static_cast<int>(handle_), LOCK_UN);
}

}  // namespace platform
