#include "sim/board_link.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "platform/runtime_folder.hpp"

namespace sim {

namespace {

constexpr const char* kFileName = "KORVANE16-board";

std::string Reason(const std::string& what) { return what + ": " + std::strerror(errno); }

struct flock WholeFile(short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return lock;  // start 0, length 0: the whole file
}

// Only a regular file of this user's own, of at least the shared size.
bool Usable(int fd, bool mayGrow) {
    struct stat info {};
    return fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == getuid() &&
           (mayGrow || info.st_size >= static_cast<off_t>(sizeof(SharedBoard)));
}

}  // namespace

std::string SharedBoardPath(std::string& error) {
    const std::optional<std::string> folder = platform::UserRuntimeFolder(error);
    return folder ? *folder + "/" + kFileName : std::string();
}

BoardPublisher::BoardPublisher() {
    const std::string path = SharedBoardPath(problem_);
    if (path.empty()) return;
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        problem_ = Reason("cannot open " + path);
        return;
    }
    struct flock lock = WholeFile(F_WRLCK);
    if (!Usable(fd_, true)) {
        problem_ = path + " is not a regular file of this user";
    } else if (fcntl(fd_, F_OFD_SETLK, &lock) != 0) {
        problem_ = errno == EAGAIN || errno == EACCES ? "another virtual board of this user is running"
                                                      : Reason("cannot lock " + path);
    } else if (struct stat info {}; fstat(fd_, &info) != 0 ||
               (info.st_size < static_cast<off_t>(sizeof(SharedBoard)) &&
                ftruncate(fd_, static_cast<off_t>(sizeof(SharedBoard))) != 0)) {
        // Never shrunk: a monitor may have it mapped.
        problem_ = Reason("cannot size " + path);
    } else if (void* map = mmap(nullptr, sizeof(SharedBoard), PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
               map == MAP_FAILED) {
        problem_ = Reason("cannot map " + path);
    } else {
        // Fresh content: a board that died half-way through a write left its
        // sequence odd.
        shared_ = new (map) SharedBoard{};
        shared_->size = sizeof(SharedBoard);
        shared_->magic = kSharedBoardMagic;
        return;
    }
    close(fd_);
    fd_ = -1;
}

BoardPublisher::~BoardPublisher() {
    if (shared_ != nullptr) {
        Publish(BoardState{});  // the board is gone: nothing set up, nothing running
        munmap(shared_, sizeof(SharedBoard));
    }
    if (fd_ >= 0) close(fd_);
}

void BoardPublisher::Publish(const BoardState& state) {
    if (shared_ == nullptr) return;
    const std::uint32_t sequence = shared_->sequence.load(std::memory_order_relaxed);
    shared_->sequence.store(sequence + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    std::memcpy(&shared_->state, &state, sizeof state);
    shared_->sequence.store(sequence + 2, std::memory_order_release);
}

BoardViewer::~BoardViewer() { Close(); }

bool BoardViewer::Open() {
    std::string error;
    const std::string path = SharedBoardPath(error);
    if (path.empty()) return false;
    fd_ = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd_ < 0) return false;
    if (Usable(fd_, false)) {
        void* map = mmap(nullptr, sizeof(SharedBoard), PROT_READ, MAP_SHARED, fd_, 0);
        if (map != MAP_FAILED) {
            shared_ = static_cast<const SharedBoard*>(map);
            return true;
        }
    }
    Close();
    return false;
}

void BoardViewer::Close() {
    if (shared_ != nullptr) munmap(const_cast<SharedBoard*>(shared_), sizeof(SharedBoard));
    if (fd_ >= 0) close(fd_);
    shared_ = nullptr;
    fd_ = -1;
}

bool BoardViewer::Read(BoardState& state) {
    if (shared_ == nullptr && !Open()) return false;
    // Whether a stand-in holds the board, asked without taking any lock.
    struct flock lock = WholeFile(F_RDLCK);
    if (fcntl(fd_, F_OFD_GETLK, &lock) != 0 || lock.l_type == F_UNLCK) {
        // Opened afresh next time: the next board may bring a new file.
        Close();
        return false;
    }
    if (shared_->magic != kSharedBoardMagic || shared_->size != sizeof(SharedBoard)) return false;
    // A writer that died half-way leaves the sequence odd: give up after a while.
    for (int attempt = 0; attempt < 10000; ++attempt) {
        const std::uint32_t before = shared_->sequence.load(std::memory_order_acquire);
        if ((before & 1) != 0) continue;
        std::memcpy(&state, &shared_->state, sizeof state);
        std::atomic_thread_fence(std::memory_order_acquire);
        if (shared_->sequence.load(std::memory_order_relaxed) == before) return true;
    }
    return false;
}

}  // namespace sim
