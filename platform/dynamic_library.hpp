// Run-time loading of the board's driver library.
#pragma once

namespace platform {

using LibraryHandle = void*;

// Loads the library by its bare file name. On POSIX it is looked for in the
// executable's own folder first, then on the normal library search path, never
// in the current directory. Returns nullptr when it cannot be loaded.
LibraryHandle LoadDriverLibrary(const char* fileName);

// The address of the named entry point, or nullptr when the library lacks it.
void* FindEntry(LibraryHandle library, const char* name);

void ReleaseLibrary(LibraryHandle library);

}  // namespace platform
