// The folder where the panel and its virtual board keep their run-time files
// (the settings lock, the virtual board's picture): owned by this user and
// private to this user, so no other user can hold, fake or read them.
#pragma once

#include <optional>
#include <string>

namespace platform {

// The folder, without a trailing slash, or nullopt with the reason in ERROR
// when no such folder can be had. POSIX only.
std::optional<std::string> UserRuntimeFolder(std::string& error);

}  // namespace platform
