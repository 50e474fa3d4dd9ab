// The virtual board's state shared with korvane16-monitor, Linux only: a small
// file "KORVANE16-board" in the user's private runtime folder, written and read
// with plain file calls at known offsets, never mapped: a file that another
// process shrinks, or that a full file system cannot back, then costs a failed
// or short read instead of the process. The stand-in that holds the board keeps
// an exclusive lock on the file while it is loaded (the kernel drops it if the
// process dies), so a reader knows whether a board is running; it also locks
// the runtime folder itself, so a second stand-in of the same user leaves the
// board to the first even when the file has been removed meanwhile.
#pragma once

#include <cstdint>
#include <string>

#include "sim/board_state.hpp"

namespace sim {

// The file's whole content.
struct SharedBoard {
    std::uint32_t magic;
    std::uint32_t size;      // sizeof(SharedBoard) of the writer
    std::uint32_t sequence;  // one more at each write
    std::uint32_t check;     // of sequence and state: a read torn by a write shows in it
    BoardState state;
};

inline constexpr std::uint32_t kSharedBoardMagic = 0x4b313642;  // "B61K"

// The file's path, or "" with the reason in ERROR.
std::string SharedBoardPath(std::string& error);

class BoardPublisher {
public:
    BoardPublisher();
    ~BoardPublisher();
    BoardPublisher(const BoardPublisher&) = delete;
    BoardPublisher& operator=(const BoardPublisher&) = delete;

    // True when this process holds the board; otherwise Problem() says why not.
    bool Holds() const { return fd_ >= 0; }
    const std::string& Problem() const { return problem_; }

    // Writes STATE when it differs from the last written. False when it could
    // not be written: the board is let go then (Problem() says why) and later
    // calls do nothing.
    bool Publish(const BoardState& state);

private:
    void LetGo();

    int folder_ = -1;
    int fd_ = -1;
    std::string path_;
    SharedBoard last_{};  // as last written
    bool written_ = false;
    std::string problem_;
};

class BoardViewer {
public:
    BoardViewer() = default;
    ~BoardViewer();
    BoardViewer(const BoardViewer&) = delete;
    BoardViewer& operator=(const BoardViewer&) = delete;

    // The running board's state; false when no virtual board is running or
    // its state cannot be read.
    bool Read(BoardState& state);

private:
    bool Open();
    void Close();

    int fd_ = -1;
};

}  // namespace sim
