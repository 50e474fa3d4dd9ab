#include "sim/virtual_board.hpp"

#include <cstdio>
#include <cstdlib>

#include "sim/picture_renderer.hpp"
#include "sim/snapshot_file.hpp"

#if !defined(_WIN32)
#include "sim/board_link.hpp"
#endif

namespace sim {

namespace {

// Lines that say what the board is; protocol faults alone begin "virtual board: ".
void Say(const std::string& line) { std::fprintf(stderr, "TAVRIND.dll: %s\n", line.c_str()); }

}  // namespace

#if defined(_WIN32)
struct VirtualBoard::Link {
    bool Publish(const BoardState&) { return true; }
    std::string Problem() const { return {}; }
};
#else
struct VirtualBoard::Link : BoardPublisher {};
#endif

VirtualBoard::VirtualBoard() : link_(std::make_unique<Link>()) {
#if defined(_WIN32)
    Say("a virtual board (the stand-in driver), not a real KORVANE16 board");
#else
    Say("a virtual board (the stand-in driver), not a real KORVANE16 board; korvane16-monitor shows its picture");
    if (!link_->Holds() || !link_->Publish(model_.State()))
        Say("this board is not shown on korvane16-monitor: " + link_->Problem());
#endif
}

VirtualBoard::~VirtualBoard() = default;

void VirtualBoard::Before(Entry entry) {
    if (entry != Entry::OvrCaptureStop) return;
    // The picture the operator last saw, with every camera at time 0.
    const char* path = std::getenv("TAVRIND_SNAPSHOT");
    if (path == nullptr || *path == '\0') return;
    Picture picture;
    RenderPicture(model_.State(), 0, picture);
    if (std::string error; !WritePpmAtomically(path, picture, error)) Say("no snapshot: " + error);
}

void VirtualBoard::After(const std::string& fault) {
    if (!fault.empty()) std::fprintf(stderr, "virtual board: %s\n", fault.c_str());
    // The panel works on without the monitor's view.
    if (!link_->Publish(model_.State())) Say("this board is no longer shown on korvane16-monitor: " + link_->Problem());
}

}  // namespace sim
