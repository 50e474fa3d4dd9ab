// The session's one panel on POSIX: an exclusive flock on a lock file in the
// user's private run-time folder, which the kernel drops with the process, and
// beside it a datagram socket on which a second start asks for the front. The
// request carries one end of a socket pair, on which the panel answers once its
// window is in front.
#include "platform/panel_instance.hpp"

#include <fcntl.h>
#include <poll.h>
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
constexpr char kFrontAnswer[] = "done";
// How long a second start waits for the running panel's answer.
constexpr int kAnswerWaitMs = 2000;

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
    for (const int answer : answers_) close(answer);
    if (requests_ >= 0) {
        close(requests_);
        unlink(requestsPath_.c_str());
    }
    // Closing the file drops the lock.
    if (lock_ >= 0) close(static_cast<int>(lock_));
}

bool PanelInstance::TakeFrontRequests() {
    bool any = false;
    for (;;) {
        char request[sizeof kFrontRequest];
        iovec part{request, sizeof request};
        alignas(cmsghdr) char control[CMSG_SPACE(4 * sizeof(int))];
        msghdr message{};
        message.msg_iov = &part;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        if (requests_ < 0 || recvmsg(requests_, &message, MSG_CMSG_CLOEXEC) < 0) return any;
        any = true;
        for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
            if (c->cmsg_level != SOL_SOCKET || c->cmsg_type != SCM_RIGHTS) continue;
            const std::size_t count = (c->cmsg_len - CMSG_LEN(0)) / sizeof(int);
            for (std::size_t i = 0; i < count; ++i) {
                int fd;
                std::memcpy(&fd, CMSG_DATA(c) + i * sizeof fd, sizeof fd);
                answers_.push_back(fd);
            }
        }
    }
}

void PanelInstance::AnswerFrontRequests() {
    for (const int answer : answers_) {
        send(answer, kFrontAnswer, sizeof kFrontAnswer, MSG_DONTWAIT | MSG_NOSIGNAL);
        close(answer);
    }
    answers_.clear();
}

FrontAnswer AskRunningPanelToFront() {
    sockaddr_un address{};
    std::string path;
    if (!RequestsAddress(address, path)) return FrontAnswer::NotDelivered;
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    int pair[2];
    if (fd < 0 || socketpair(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0, pair) != 0) {
        if (fd >= 0) close(fd);
        return FrontAnswer::NotDelivered;
    }
    // The request, with the end of the pair the panel answers on.
    iovec part{const_cast<char*>(kFrontRequest), sizeof kFrontRequest};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr message{};
    message.msg_name = &address;
    message.msg_namelen = sizeof address;
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* c = CMSG_FIRSTHDR(&message);
    c->cmsg_level = SOL_SOCKET;
    c->cmsg_type = SCM_RIGHTS;
    c->cmsg_len = CMSG_LEN(sizeof(int));
    std::memcpy(CMSG_DATA(c), &pair[1], sizeof(int));
    const bool sent = sendmsg(fd, &message, MSG_DONTWAIT | MSG_NOSIGNAL) >= 0;
    close(fd);
    close(pair[1]);
    FrontAnswer answer = sent ? FrontAnswer::Unanswered : FrontAnswer::NotDelivered;
    pollfd waiting{pair[0], POLLIN, 0};
    char reply[sizeof kFrontAnswer] = {};
    int ready;
    do ready = sent ? poll(&waiting, 1, kAnswerWaitMs) : 0;
    while (ready < 0 && errno == EINTR);
    if (ready > 0 && recv(pair[0], reply, sizeof reply, MSG_DONTWAIT) == static_cast<ssize_t>(sizeof reply) &&
        std::memcmp(reply, kFrontAnswer, sizeof reply) == 0)
        answer = FrontAnswer::BroughtToFront;
    close(pair[0]);
    return answer;
}

}  // namespace platform
