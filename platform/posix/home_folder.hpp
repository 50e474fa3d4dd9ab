// Where a user's own folders are, as the environment and the user database say.
#pragma once

#include <string>

namespace platform {

// An absolute path from the environment, or "" when the variable is unset,
// empty or relative.
std::string AbsoluteVariable(const char* name);

// $HOME, else the home folder the user database names; "" when neither is an
// absolute path.
std::string HomeFolder();

}  // namespace platform
