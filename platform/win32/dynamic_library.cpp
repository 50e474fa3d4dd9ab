// The driver library on Windows: the panel walks the usual search order itself,
// without the current folder, and loads the first match by its full path.
#include "platform/dynamic_library.hpp"

#include <windows.h>

#include <algorithm>
#include <cctype>

#include "platform/win32/error_text.hpp"

namespace platform {

namespace {

using SetDefaultDllDirectoriesEntry = BOOL(WINAPI*)(DWORD);

// Restricts the searches for the driver's own dependencies to the driver's
// folder, the program's folder and the system folder, so a panel started in a
// folder of someone else's files cannot be made to load a library planted
// there. Returns false on systems that lack that function; they get an empty
// DLL directory instead, documented to drop the current folder alone (Wine 8
// ignores it, so it is not the first choice).
bool KeepCurrentFolderOutOfSearch() {
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const FARPROC entry = kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
    const auto restrictSearch = reinterpret_cast<SetDefaultDllDirectoriesEntry>(reinterpret_cast<void*>(entry));
    if (restrictSearch != nullptr && restrictSearch(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS)) return true;
    SetDllDirectoryA("");
    return false;
}

std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return {};
    const std::string program(path, length);
    const std::size_t slash = program.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : program.substr(0, slash);
}

template <typename Query>
std::string SystemFolder(Query query) {
    char path[MAX_PATH];
    const UINT length = query(path, sizeof path);
    return length == 0 || length >= sizeof path ? std::string() : std::string(path, length);
}

// "C:\..." or "\\server\share...": a folder that does not depend on the
// current folder or the current drive.
bool Absolute(const std::string& folder) {
    const bool drive = folder.size() >= 3 && std::isalpha(static_cast<unsigned char>(folder[0])) &&
                       folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/');
    const bool network = folder.size() >= 3 && (folder[0] == '\\' || folder[0] == '/') &&
                         (folder[1] == '\\' || folder[1] == '/');
    return drive || network;
}

std::vector<std::string> PathFolders() {
    std::vector<std::string> folders;
    const DWORD size = GetEnvironmentVariableA("PATH", nullptr, 0);
    if (size == 0) return folders;
    std::string path(size, '\0');
    path.resize(GetEnvironmentVariableA("PATH", path.data(), size));
    std::string entry;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != ';') {
            if (path[i] != '"') entry += path[i];
            continue;
        }
        if (Absolute(entry)) folders.push_back(entry);
        entry.clear();
    }
    return folders;
}

std::string Lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Every folder to look in, in order, each once.
std::vector<std::string> SearchFolders() {
    std::vector<std::string> candidates{ProgramFolder(), SystemFolder(GetSystemDirectoryA),
                                        SystemFolder(GetWindowsDirectoryA)};
    for (const std::string& folder : PathFolders()) candidates.push_back(folder);
    std::vector<std::string> folders, seen;
    for (std::string folder : candidates) {
        while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
        if (folder.empty() || std::find(seen.begin(), seen.end(), Lowercase(folder)) != seen.end()) continue;
        seen.push_back(Lowercase(folder));
        folders.push_back(folder);
    }
    return folders;
}

}  // namespace

LibrarySearch LoadDriverLibrary(const char* fileName) {
    // The driver's own dependencies come from its folder and the system's.
    const DWORD flags = KeepCurrentFolderOutOfSearch()
                            ? LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS
                            : LOAD_WITH_ALTERED_SEARCH_PATH;
    LibrarySearch search;
    search.placesSearched = "beside the program, in the system folder, in the Windows folder and in the folders on PATH";
    for (const std::string& folder : SearchFolders()) {
        const std::string separator = folder.back() == '\\' || folder.back() == '/' ? "" : "\\";
        const std::string path = folder + separator + fileName;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) continue;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            search.passedOver.push_back({path, "not a file but a folder"});
            continue;
        }
        if (const HMODULE library = LoadLibraryExA(path.c_str(), nullptr, flags)) {
            search.library = library;
            search.path = path;
            return search;
        }
        search.passedOver.push_back({path, LastErrorText()});
    }
    return search;
}

LibraryEntry FindEntry(LibraryHandle library, const char* name) {
    void* address = reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
    if (address == nullptr) return {};
    // Only code can be called: an export of data would be a jump into it.
    MEMORY_BASIC_INFORMATION memory{};
    constexpr DWORD kExecutable = PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    if (VirtualQuery(address, &memory, sizeof memory) == 0 || (memory.Protect & kExecutable) == 0)
        return {nullptr, true};
    return {address, false};
}

void ReleaseLibrary(LibraryHandle library) { FreeLibrary(static_cast<HMODULE>(library)); }

}  // namespace platform
