// Run-time loading of the board's driver library. The panel chooses the file
// itself and opens it by its full path: never from the current directory.
#pragma once

#include <string>
#include <vector>

namespace platform {

using LibraryHandle = void*;

// A file of the library's name that the search found but did not load.
struct PassedOverLibrary {
    std::string path;
    std::string reason;
};

struct LibrarySearch {
    LibraryHandle library = nullptr;  // nullptr when none could be loaded
    std::string path;                 // the full path of the library loaded
    std::vector<PassedOverLibrary> passedOver;  // in search order
    std::string placesSearched;       // where the search looked, in words
};

// Looks for FILE_NAME in these folders, in this order, and loads the first
// file there that loads, by its full path:
//  - POSIX: the program's own folder, the absolute folders on LD_LIBRARY_PATH,
//    the panel's private library folder beside the program as installed, the
//    system library folders. A file that is not a complete shared library for
//    this machine is passed over before it is mapped.
//  - Windows: the program's own folder, the system folder, the Windows folder,
//    the absolute folders on PATH.
// Empty, relative and "." entries of a search path are never used.
LibrarySearch LoadDriverLibrary(const char* fileName);

struct LibraryEntry {
    void* address = nullptr;  // nullptr when the entry point counts as missing
    bool notCode = false;     // the library exports the name, but not as code of its own
};

// The named entry point. One the library lacks, or that does not lie in the
// library's own code, counts as missing.
LibraryEntry FindEntry(LibraryHandle library, const char* name);

void ReleaseLibrary(LibraryHandle library);

}  // namespace platform
