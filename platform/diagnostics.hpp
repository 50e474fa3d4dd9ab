// What the panel tells its operator about what it did on its own or could not
// do (the driver it loaded or passed over, why it closed at once): one line
// each on standard error, which a desktop session keeps in its log and a
// terminal shows. The harness's standard output stays free for its own lines.
//
// Some lines also need the operator's eyes when no terminal is there (a start
// from the menu): trouble the operator has to act on. Those are warnings: they
// go to standard error too, and are kept until a frontend with a window takes
// them and shows them there.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Writes "KORVANE16: LINE" and a line end to standard error at once.
void TellOperator(std::string_view line);

// Tells LINE as TellOperator does and keeps it for the window. Any thread.
void WarnOperator(std::string_view line);

// The warnings kept so far, oldest first; they are forgotten once taken.
std::vector<std::string> TakeOperatorWarnings();

// Called after each warning is kept, on the thread that warned, so that a
// frontend can arrange to show it; nullptr for none.
using WarningListener = void (*)();
void SetWarningListener(WarningListener listener);

}  // namespace platform
