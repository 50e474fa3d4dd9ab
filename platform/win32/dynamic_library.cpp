// The driver library through LoadLibraryA, with the current directory taken
// out of the search first.
#include "platform/dynamic_library.hpp"

#include <windows.h>

namespace platform {

LibraryHandle LoadDriverLibrary(const char* fileName) {
    // An empty DLL directory removes the current directory from the search and
    // changes nothing else: the executable's own folder still comes first, then
    // the system folders and PATH, where an installed driver may lie. A panel
    // started in a folder of someone else's files then cannot be made to load a
    // library planted there.
    SetDllDirectoryA("");
    return LoadLibraryA(fileName);
}

void* FindEntry(LibraryHandle library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void ReleaseLibrary(LibraryHandle library) { FreeLibrary(static_cast<HMODULE>(library)); }

}  // namespace platform
