// The named lock as an exclusive flock on a file of that name in a private
// per-user folder. The kernel frees the lock when its holder dies, as Windows
// frees an abandoned mutex.
#include "platform/named_lock.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
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
    place_ = path;
}

NamedLock::~NamedLock() {
    if (Valid()) close(static_cast<int>(handle_));
}

// A blocking flock cannot be timed, so a held lock is tried again after a
// pause that grows from a millisecond to a few: the wait ends within that
// pause of the lock coming free, and the watcher gets its turns.
bool NamedLock::Acquire(const WaitWatcher& whileWaiting) {
    if (!Valid()) return false;
    if (depth_++ > 0) return true;
    const int fd = static_cast<int>(handle_);
    const auto start = std::chrono::steady_clock::now();
    long pause = 1'000'000;  // nanoseconds
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        const timespec delay{0, pause};
        nanosleep(&delay, nullptr);  // a signal may cut it short
        pause = std::min(pause * 2, 5'000'000L);
        if (whileWaiting)
            whileWaiting(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start));
    }
}

void NamedLock::Release() {
    if (!Valid() || depth_ == 0) return;
    if (--depth_ == 0) flock(static_cast<int>(handle_), LOCK_UN);
}

}  // namespace platform
