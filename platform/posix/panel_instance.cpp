// The session's one panel on POSIX: an exclusive flock on a lock file in the
// user's private run-time folder, which the kernel drops with the process, and
// beside it a datagram socket on which a second start asks for the front.
#include "platform/panel_instance.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/runtime_folder.hpp"

namespace platform {

namespace {

constexpr const char* kLockName = "korvane16-panel.lock";
constexpr const char* kRequestsName = "korvane16-panel.socket";
constexpr char kFrontRequest[] = "front";

std::string Reason(const std::string& what) { return what + ": " + std::strerror(errno); }

// The lock file, opened (and made when missing) without following a link.
int OpenLockFile(std::string& error) {
    const std::optional<std::string> folder = UserRuntimeFolder(error);
    if (!folder) return -1;
    const std::string path = *folder + "/" + kLockName;
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) error = Reason("cannot open " + path);
    return fd;
}

bool RequestsAddress(sockaddr_un& address, std::string& path) {
    std::string error;
    const std::optional<std::string> folder = UserRuntimeFolder(error);
    if (!folder) return false;
    path = *folder + "/" + kRequestsName;
    if (path.size() >= sizeof address.sun_path) return false;  // too long for a socket name: no requests
    address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Locks FD without waiting: 1 locked, 0 held by another, -1 failed.
int TryLock(int fd, int how) {
    int result;
    do result = flock(fd, how | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result == 0) return 1;
    return errno == EWOULDBLOCK ? 0 : -1;
}

}  // namespace

PanelInstance::PanelInstance() {
    const int fd = OpenLockFile(error_);
    if (fd < 0) return;
    lock_ = fd;
    switch (TryLock(fd, LOCK_EX)) {
        case 0: claim_ = Claim::AnotherPanelRuns; return;
        case -1: error_ = Reason("cannot lock the panel's lock file"); return;
        default: claim_ = Claim::Ours;
    }
    // The claim is ours, so a socket left by an earlier panel is stale.
    sockaddr_un address{};
    if (!RequestsAddress(address, requestsPath_)) return;
    unlink(requestsPath_.c_str());
    requests_ = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (requests_ >= 0 && bind(requests_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(requests_);
        requests_ = -1;
    }
}

PanelInstance::~PanelInstance() {
    if (requests_ >= 0) {
        close(requests_);
        unlink(requestsPath_.c_str());
    }
    // Closing the file drops the lock.
    if (lock_ >= 0) close(static_cast<int>(lock_));
}

bool PanelInstance::TakeFrontRequests() {
    bool any = false;
    char request[sizeof kFrontRequest];
    while (requests_ >= 0 && recv(requests_, request, sizeof request, 0) >= 0) any = true;
    return any;
}

std::optional<bool> PanelRunning(std::string& error) {
    const int fd = OpenLockFile(error);
    if (fd < 0) return std::nullopt;
    // A shared lock is refused while a panel holds its exclusive one.
    const int locked = TryLock(fd, LOCK_SH);
    if (locked < 0) error = Reason("cannot lock the panel's lock file");
    close(fd);
    if (locked < 0) return std::nullopt;
    return locked == 0;
}

bool AskRunningPanelToFront() {
    sockaddr_un address{};
    std::string path;
    if (!RequestsAddress(address, path)) return false;
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool sent = sendto(fd, kFrontRequest, sizeof kFrontRequest, MSG_DONTWAIT,
                             reinterpret_cast<const sockaddr*>(&address), sizeof address) >= 0;
    close(fd);
    return sent;
}

}  // namespace platform
