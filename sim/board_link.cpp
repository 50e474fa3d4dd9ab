#include "sim/board_link.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

#include "platform/runtime_folder.hpp"
#include "sim/write_fully.hpp"

namespace sim {

namespace {

constexpr const char* kFileName = "KORVANE16-board";
constexpr const char* kAnotherBoard = "another virtual board of this user is running";

std::string Reason(const std::string& what, int error = errno) { return what + ": " + std::strerror(error); }

struct flock WholeFile(short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return lock;  // start 0, length 0: the whole file
}

// Only a regular file of this user's own.
bool Usable(int fd) {
    struct stat info {};
    return fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == getuid();
}

// FNV-1a over the sequence and the state, eight bytes at a time.
std::uint32_t Check(const SharedBoard& board) {
    static_assert((sizeof(SharedBoard) - offsetof(SharedBoard, state)) % 8 == 0);
    std::uint64_t hash = 0xcbf29ce484222325u ^ board.sequence;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&board.state);
    for (std::size_t at = 0; at < sizeof board.state; at += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + at, 8);
        hash = (hash ^ word) * 0x100000001b3u;
    }
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

}  // namespace

std::string SharedBoardPath(std::string& error) {
    const std::optional<std::string> folder = platform::UserRuntimeFolder(error);
    return folder ? *folder + "/" + kFileName : std::string();
}

BoardPublisher::BoardPublisher() {
    path_ = SharedBoardPath(problem_);
    if (path_.empty()) return;
    // The folder's lock says a board runs; the file's lock tells the monitor.
    const std::string folder = path_.substr(0, path_.rfind('/'));
    folder_ = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0) {
        problem_ = Reason("cannot open " + folder);
        return;
    }
    int locked;
    do locked = flock(folder_, LOCK_EX | LOCK_NB);
    while (locked != 0 && errno == EINTR);
    struct flock fileLock = WholeFile(F_WRLCK);
    if (locked != 0) {
        problem_ = errno == EWOULDBLOCK ? kAnotherBoard : Reason("cannot lock " + folder);
    } else if (fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600); fd_ < 0) {
        problem_ = Reason("cannot open " + path_);
    } else if (!Usable(fd_)) {
        problem_ = path_ + " is not a regular file of this user";
    } else if (fcntl(fd_, F_OFD_SETLK, &fileLock) != 0) {
        problem_ = errno == EAGAIN || errno == EACCES ? kAnotherBoard : Reason("cannot lock " + path_);
    } else {
        last_.magic = kSharedBoardMagic;
        last_.size = sizeof(SharedBoard);
        return;  // the first Publish writes the content
    }
    LetGo();
}

BoardPublisher::~BoardPublisher() {
    Publish(BoardState{});  // the board is gone: nothing set up, nothing running
    LetGo();
}

void BoardPublisher::LetGo() {
    // Closing drops the locks.
    if (fd_ >= 0) close(fd_);
    if (folder_ >= 0) close(folder_);
    fd_ = folder_ = -1;
}

bool BoardPublisher::Publish(const BoardState& state) {
    if (fd_ < 0) return true;
    // A call that changed nothing (the panel often sends what the board holds)
    // costs no write.
    if (written_ && std::memcmp(&last_.state, &state, sizeof state) == 0) return true;
    ++last_.sequence;
    last_.state = state;
    last_.check = Check(last_);
    // One write of the whole record: a file shrunk meanwhile grows back.
    if (const int error = sim::WriteFromStart(fd_, &last_, sizeof last_); error != 0) {
        problem_ = Reason("cannot write " + path_, error);
        LetGo();
        return false;
    }
    written_ = true;
    return true;
}

BoardViewer::~BoardViewer() { Close(); }

bool BoardViewer::Open() {
    std::string error;
    const std::string path = SharedBoardPath(error);
    if (path.empty()) return false;
    // Never waits on a FIFO put in the file's place.
    fd_ = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd_ >= 0 && Usable(fd_)) return true;
    Close();
    return false;
}

void BoardViewer::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

bool BoardViewer::Read(BoardState& state) {
    if (fd_ < 0 && !Open()) return false;
    // Whether a stand-in holds the board, asked without taking any lock.
    struct flock lock = WholeFile(F_RDLCK);
    if (fcntl(fd_, F_OFD_GETLK, &lock) != 0 || lock.l_type == F_UNLCK) {
        // Opened afresh next time: the next board may bring a new file.
        Close();
        return false;
    }
    // A read that overlaps a write shows in the check: read again.
    for (int attempt = 0; attempt < 100; ++attempt) {
        SharedBoard board;
        ssize_t n;
        do n = pread(fd_, &board, sizeof board, 0);
        while (n < 0 && errno == EINTR);
        if (n != static_cast<ssize_t>(sizeof board)) return false;  // shrunk, or never written
        if (board.magic != kSharedBoardMagic || board.size != sizeof(SharedBoard)) return false;
        if (board.check == Check(board)) {
            state = board.state;
            return true;
        }
    }
    return false;
}

}  // namespace sim
