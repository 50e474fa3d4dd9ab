// File names as the operator should read them in a message.
#pragma once

#include <string>

namespace platform {

// FILE, named the Windows way (".\KORVANE16.ini"), as a full path on this
// system: relative names are taken from the current working directory.
std::string FullFileName(const char* file);

}  // namespace platform
