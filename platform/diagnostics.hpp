// What the panel tells its operator about what it did on its own or could not
// do (the driver it loaded or passed over, why it closed at once): one line
// each on standard error, which a desktop session keeps in its log and a
// terminal shows. The harness's standard output stays free for its own lines.
#pragma once

#include <string_view>

namespace platform {

// Writes "KORVANE16: LINE" and a line end to standard error at once.
void TellOperator(std::string_view line);

}  // namespace platform
