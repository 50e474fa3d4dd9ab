// The system's words for the calling thread's last error.
#pragma once

#include <string>

namespace platform {

// GetLastError() as the system words it, or "error N" where it has no words.
std::string LastErrorText();

}  // namespace platform
