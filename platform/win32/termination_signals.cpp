// Windows ends a program through its window, not through these signals:
// nothing is caught, and no request ever comes.
#include "platform/termination_signals.hpp"

#include <cstdlib>

namespace platform {

void CatchTerminationSignals() {}
void ReleaseTerminationSignals() {}
int TerminationRequested() { return 0; }
int TerminationNotices() { return -1; }
void DrainTerminationNotices() {}

namespace {
bool closeBegun = false;
}  // namespace

void MarkCloseBegun() { closeBegun = true; }
bool CloseBegun() { return closeBegun; }

void EndBySignal(int signal) { std::_Exit(128 + signal); }

}  // namespace platform
