// The named lock as an exclusive flock on a file of that name in a private
// per-user folder. The kernel frees the lock when its holder dies, as Windows
// frees an abandoned mutex.
#include "platform/named_lock.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/runtime_folder.hpp"

namespace platform {

namespace {

std::string Reason(const std::string& what) { return what + ": " + std::strerror(errno); }

// The lock file at PATH, opened without following a link and without blocking
// on a FIFO; -1 when what is there is not a regular file of this user.
int OpenLockFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0600);
    if (fd < 0) return -1;
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid()) return fd;
    close(fd);
    errno = EPERM;
    return -1;
}

}  // namespace

NamedLock::NamedLock(const char* name) {
    const std::optional<std::string> folder = UserRuntimeFolder(error_);
    if (!folder) return;
    const std::string path = *folder + "/" + name;
    int fd = OpenLockFile(path);
    if (fd < 0 && errno != EACCES) {
        // Whatever stands there (left from before the folder was made private)
        // is not the lock: the folder is the user's own, so it can go.
        unlink(path.c_str());
        fd = OpenLockFile(path);
    }
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
