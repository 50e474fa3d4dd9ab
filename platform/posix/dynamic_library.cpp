// The driver library on POSIX: the panel makes its own list of folders, checks
// each file of the library's name before the dynamic loader maps it, and opens
// the first good one by its full path. A bare name would let the loader search
// on its own, where an empty or relative search entry means the current folder.
#include "platform/dynamic_library.hpp"

#include <dlfcn.h>
#include <glob.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/posix/library_file_check.hpp"

#ifndef KORVANE16_PRIVATE_LIBRARY_FOLDER
#define KORVANE16_PRIVATE_LIBRARY_FOLDER "../lib/korvane16"
#endif
#ifndef KORVANE16_LIBRARY_ARCHITECTURE
#define KORVANE16_LIBRARY_ARCHITECTURE ""
#endif

namespace platform {

namespace {

namespace fs = std::filesystem;

// The folder of the running program, or empty.
std::string ProgramFolder() {
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return {};
    path.resize(static_cast<std::size_t>(length));
    return fs::path(path).parent_path().string();
}

// The absolute entries of a search path: empty, relative and "." entries would
// all name the current folder, or one below it.
std::vector<std::string> AbsoluteEntries(const char* searchPath) {
    std::vector<std::string> folders;
    if (searchPath == nullptr) return folders;
    std::string entry;
    for (const char* c = searchPath;; ++c) {
        if (*c == ':' || *c == ';' || *c == '\0') {
            if (!entry.empty() && entry.front() == '/') folders.push_back(entry);
            entry.clear();
            if (*c == '\0') break;
        } else {
            entry += *c;
        }
    }
    return folders;
}

// The folders of the dynamic loader's configuration file and those it includes.
void AddConfiguredFolders(const std::string& file, std::vector<std::string>& folders, int depth = 0) {
    std::ifstream in(file);
    for (std::string line; depth < 8 && std::getline(in, line);) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string first;
        if (!(words >> first)) continue;
        if (first == "include") {
            for (std::string pattern; words >> pattern;) {
                if (pattern.front() != '/') pattern = fs::path(file).parent_path().string() + "/" + pattern;
                glob_t found{};
                if (glob(pattern.c_str(), 0, nullptr, &found) == 0)
                    for (std::size_t i = 0; i < found.gl_pathc; ++i)
                        AddConfiguredFolders(found.gl_pathv[i], folders, depth + 1);
                globfree(&found);
            }
        } else if (first.front() == '/') {
            folders.push_back(first);
        }
    }
}

// The system's library folders: the configured ones, then the loader's own.
std::vector<std::string> SystemFolders() {
    std::vector<std::string> folders;
    AddConfiguredFolders("/etc/ld.so.conf", folders);
    const std::string architecture = KORVANE16_LIBRARY_ARCHITECTURE;
    if (!architecture.empty()) {
        folders.push_back("/lib/" + architecture);
        folders.push_back("/usr/lib/" + architecture);
    }
    for (const char* folder : {"/lib64", "/usr/lib64", "/lib", "/usr/lib"}) folders.push_back(folder);
    return folders;
}

// Every folder to look in, in order, each once.
std::vector<std::string> SearchFolders() {
    std::vector<std::string> candidates;
    const std::string program = ProgramFolder();
    if (!program.empty()) candidates.push_back(program);
    for (const std::string& folder : AbsoluteEntries(std::getenv("LD_LIBRARY_PATH"))) candidates.push_back(folder);
    if (!program.empty()) candidates.push_back(program + "/" + KORVANE16_PRIVATE_LIBRARY_FOLDER);
    for (const std::string& folder : SystemFolders()) candidates.push_back(folder);

    std::vector<std::string> folders;
    for (const std::string& candidate : candidates) {
        std::string folder = fs::path(candidate).lexically_normal().string();
        while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
    }
    return folders;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

struct CodeSearch {
    const link_map* library;
    std::uintptr_t address;
    bool inCode;
};

// Whether ADDRESS lies in an executable segment of the library LIBRARY.
bool LiesInCodeOf(LibraryHandle library, const void* address) {
    link_map* map = nullptr;
    if (dlinfo(library, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) return false;
    CodeSearch search{map, reinterpret_cast<std::uintptr_t>(address), false};
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* data) -> int {
            auto& s = *static_cast<CodeSearch*>(data);
            if (info->dlpi_addr != s.library->l_addr || std::strcmp(info->dlpi_name, s.library->l_name) != 0)
                return 0;
            for (int i = 0; i < info->dlpi_phnum; ++i) {
                const ElfW(Phdr)& segment = info->dlpi_phdr[i];
                const std::uintptr_t start = info->dlpi_addr + segment.p_vaddr;
                if (segment.p_type == PT_LOAD && (segment.p_flags & PF_X) != 0 && s.address >= start &&
                    s.address - start < segment.p_memsz)
                    s.inCode = true;
            }
            return 1;
        },
        &search);
    return search.inCode;
}

// Whether the symbol table calls what lies at ADDRESS a function, where it says.
bool NamedAsCode(const void* address) {
    Dl_info info{};
    void* entry = nullptr;
    if (dladdr1(address, &info, &entry, RTLD_DL_SYMENT) == 0 || entry == nullptr || info.dli_saddr != address)
        return true;
    const auto* symbol = static_cast<const ElfW(Sym)*>(entry);
    const int type = ELF64_ST_TYPE(symbol->st_info);
    return type == STT_FUNC || type == STT_GNU_IFUNC;
}

}  // namespace

LibrarySearch LoadDriverLibrary(const char* fileName) {
    LibrarySearch search;
    search.placesSearched = "beside the program, on LD_LIBRARY_PATH, in " KORVANE16_PRIVATE_LIBRARY_FOLDER
                            " beside the program and in the system library folders";
    for (const std::string& folder : SearchFolders()) {
        const std::string path = folder + "/" + fileName;
        if (!Exists(path)) continue;
        if (std::string reason = WhyNotALoadableLibrary(path); !reason.empty()) {
            search.passedOver.push_back({path, reason});
            continue;
        }
        dlerror();
        if (void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            search.library = library;
            search.path = path;
            return search;
        }
        const char* error = dlerror();
        search.passedOver.push_back({path, error != nullptr ? error : "the dynamic loader refused it"});
    }
    return search;
}

LibraryEntry FindEntry(LibraryHandle library, const char* name) {
    void* address = dlsym(library, name);
    if (address == nullptr) return {};
    // Only code of the library's own can be called: data, or a function of a
    // library it depends on, would be a jump into the unknown.
    if (!LiesInCodeOf(library, address) || !NamedAsCode(address)) return {nullptr, true};
    return {address, false};
}

void ReleaseLibrary(LibraryHandle library) { dlclose(library); }

}  // namespace platform
