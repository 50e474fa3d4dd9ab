// What a program printed only counts when it reached its reader: a full disk,
// a closed or read-only standard output make the program fail, not succeed.
#pragma once

namespace platform {

// Keeps the standard descriptors 0, 1 and 2 taken: one that is closed at start
// gets a descriptor that refuses writes, so no file the program opens later
// ends up as its output and a write there fails. Call first thing in main.
void GuardStandardStreams();

// Flushes standard output; when anything written there was lost, says so in
// one line on standard error ("PROGRAM: cannot write to standard output: WHY")
// and returns 1 in place of a STATUS of 0. Otherwise returns STATUS.
int FinishStandardOutput(const char* program, int status);

}  // namespace platform
