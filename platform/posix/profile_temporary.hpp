// The temporary file a replace writes beside the settings file, and the sweep
// of those that killed writers left behind.
//
// Beside the file, so the rename stays on one file system; hidden, since a
// kill before the rename leaves it behind. The name, ".NAME.k16tmp-XXXXXX", is
// this panel's own: ".NAME.XXXXXX" is what other tools (file copiers among
// them) use for their files in flight, and those are never touched. Each
// writer holds an exclusive flock on its temporary file from its creation to
// its rename, and the sweep takes that flock without waiting before it removes
// a file: it removes only the files of writers that are gone, even where the
// writers use another settings lock (another login session, another user).
#pragma once

#include <string>

#include "platform/posix/profile_copy.hpp"

namespace platform::posix {

// A new temporary file beside PATH, created exclusively (never a link, a FIFO
// or a file that was there) and held by this process; its name in NAME. An
// invalid descriptor, with the reason in PROBLEM, when it cannot be created.
Descriptor CreateHeldTemporary(const std::string& path, std::string& name, std::string& problem);

// Removes the temporary files beside PATH that no live writer holds.
void RemoveStaleTemporariesOf(const std::string& path);

}  // namespace platform::posix
