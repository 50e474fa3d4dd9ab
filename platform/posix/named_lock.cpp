// The named lock as an exclusive flock on a file of that name in a private
// per-user folder. The kernel frees the lock when its holder dies, as Windows
// frees an abandoned mutex.
#include "platform/named_lock.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/runtime_folder.hpp"

namespace platform {

namespace {

std::string Reason(const std::string& what) { return what + ": " + std::strerror(errno); }

}  // namespace

NamedLock::NamedLock(const char* name) {
    const std::optional<std::string> folder = UserRuntimeFolder(error_);
    if (!folder) return;
    const std::string path = *folder + "/" + name;
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
