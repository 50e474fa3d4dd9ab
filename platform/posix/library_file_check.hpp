// Whether a file can be a shared library for the machine this program runs on,
// judged from its headers before the dynamic loader maps any of it: a mapped
// file that ends too early faults when the loader touches the missing part.
#pragma once

#include <string>

namespace platform {

// Why the file at PATH cannot be a complete ELF shared library for this
// machine, or an empty text when it can. Never blocks on a special file.
std::string WhyNotALoadableLibrary(const std::string& path);

}  // namespace platform
