// The virtual board's state shared with korvane16-monitor, Linux only: a small
// file "KORVANE16-board" in the user's private runtime folder, mapped into
// both processes. The stand-in that holds the board keeps an exclusive lock on
// it while it is loaded (the kernel drops the lock if the process dies), so a
// reader knows whether a board is running, and a second stand-in of the same
// user leaves the board to the first.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "sim/board_state.hpp"

namespace sim {

// The file's whole content.
struct SharedBoard {
    std::uint32_t magic;
    std::uint32_t size;                // sizeof(SharedBoard) of the writer
    std::atomic<std::uint32_t> sequence;  // odd while the state is being written
    std::uint32_t reserved;
    BoardState state;
};

inline constexpr std::uint32_t kSharedBoardMagic = 0x4b313642;  // "B61K"
static_assert(std::atomic<std::uint32_t>::is_always_lock_free);

// The file's path, or "" with the reason in ERROR.
std::string SharedBoardPath(std::string& error);

class BoardPublisher {
public:
    BoardPublisher();
    ~BoardPublisher();
    BoardPublisher(const BoardPublisher&) = delete;
    BoardPublisher& operator=(const BoardPublisher&) = delete;

    // True when this process holds the board; otherwise Problem() says why not.
    bool Holds() const { return shared_ != nullptr; }
    const std::string& Problem() const { return problem_; }

    void Publish(const BoardState& state);

private:
    int fd_ = -1;
    SharedBoard* shared_ = nullptr;
    std::string problem_;
};

class BoardViewer {
public:
    BoardViewer() = default;
    ~BoardViewer();
    BoardViewer(const BoardViewer&) = delete;
    BoardViewer& operator=(const BoardViewer&) = delete;

    // The running board's state; false when no virtual board is running.
    bool Read(BoardState& state);

private:
    bool Open();
    void Close();

    int fd_ = -1;
    const SharedBoard* shared_ = nullptr;
};

}  // namespace sim
