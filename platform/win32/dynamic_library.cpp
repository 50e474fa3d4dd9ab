// The driver library through LoadLibraryA, with the current directory taken
// out of the search first.
#include "platform/dynamic_library.hpp"

#include <windows.h>

namespace platform {

namespace {

// Restricts the process's library searches to the executable's own folder
// (searched first), the system folder and folders added on purpose, so a panel
// started in a folder of someone else's files cannot be made to load a library
// planted there. Systems that lack that function get an empty DLL directory,
// documented to drop the current directory alone; it is not the first choice
// because Wine 8 ignores it. Either way the driver is found beside the panel.
void KeepCurrentDirectoryOutOfSearch() {
    using SetDefaultDllDirectoriesEntry = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const FARPROC entry = kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
    const auto restrictSearch = reinterpret_cast<SetDefaultDllDirectoriesEntry>(reinterpret_cast<void*>(entry));
    if (restrictSearch != nullptr && restrictSearch(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS)) return;
    SetDllDirectoryA("");
}

}  // namespace

LibraryHandle LoadDriverLibrary(const char* fileName) {
    KeepCurrentDirectoryOutOfSearch();
    return LoadLibraryA(fileName);
}

void* FindEntry(LibraryHandle library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void ReleaseLibrary(LibraryHandle library) { FreeLibrary(static_cast<HMODULE>(library)); }

}  // namespace platform
