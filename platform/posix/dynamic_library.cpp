#include "platform/dynamic_library.hpp"

#include <dlfcn.h>
#include <unistd.h>

#include <string>

namespace platform {

namespace {

// The folder of the running executable, with a trailing slash, or empty.
std::string ExecutableFolder() {
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return {};
    path.resize(static_cast<std::size_t>(length));
    return path.substr(0, path.rfind('/') + 1);
}

}  // namespace

LibraryHandle LoadDriverLibrary(const char* fileName) {
    const std::string folder = ExecutableFolder();
    if (!folder.empty()) {
        if (void* library = dlopen((folder + fileName).c_str(), RTLD_NOW | RTLD_LOCAL)) return library;
    }
    // A bare name (no slash) makes dlopen search LD_LIBRARY_PATH, the cache and
    // the system folders only: never the current directory.
    return dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
}

void* FindEntry(LibraryHandle library, const char* name) { return dlsym(library, name); }

void ReleaseLibrary(LibraryHandle library) { dlclose(library); }

}  // namespace platform
