// SIGTERM, SIGINT and SIGHUP taken as a request to end: the frontend then
// closes the dialog in order (board stopped, settings saved) instead of dying.
// Once the close has begun, further requests are taken and ignored, so the
// save always finishes. POSIX; on Windows nothing is caught.
#pragma once

namespace platform {

// Takes the three signals from now on; one ignored when the program started
// stays ignored. A wait that must end at a signal watches TerminationNotices.
void CatchTerminationSignals();
// Gives the three signals back their earlier actions.
void ReleaseTerminationSignals();

// The first termination signal that came, or 0.
int TerminationRequested();
// Readable once a termination signal has come (-1 before CatchTerminationSignals):
// an event loop watches it. DrainTerminationNotices empties it again.
int TerminationNotices();
void DrainTerminationNotices();

// The dialog's close has begun; requests made from now on change nothing.
void MarkCloseBegun();
bool CloseBegun();

// Ends the process as SIGNAL asks when nobody takes it (a termination).
[[noreturn]] void EndBySignal(int signal);

}  // namespace platform
