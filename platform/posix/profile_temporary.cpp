#include "platform/posix/profile_temporary.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace platform::posix {

namespace {

constexpr const char* kMark = "k16tmp-";
constexpr std::size_t kRandomPart = 6;  // the XXXXXX of mkstemp
// A sweep that removes a file between its creation and its writer's flock
// makes the writer start again; a few times at most, since a sweep removes
// only files it can lock.
constexpr int kCreationAttempts = 8;

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// ".NAME.k16tmp-" for "dir/NAME". Appended, not added to a one-letter
// literal: GCC 12 at -O3 reports a false -Wrestrict for that.
std::string Stem(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return std::string(1, '.').append(name).append(".").append(kMark);
}

bool IsTemporaryOf(std::string_view name, std::string_view stem) {
    if (!name.starts_with(stem) || name.size() != stem.size() + kRandomPart) return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(stem.size()), name.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    });
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// True when NAME in the folder FOLDER_FD still is the file FD.
bool StillNamed(int folderFd, const char* name, int fd) {
    struct stat named {}, opened {};
    return fstatat(folderFd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && fstat(fd, &opened) == 0 &&
           SameFile(named, opened);
}

}  // namespace

Descriptor CreateHeldTemporary(const std::string& path, std::string& name, std::string& problem) {
    const std::string pattern = FolderOf(path) + "/" + Stem(path) + std::string(kRandomPart, 'X');
    for (int attempt = 0; attempt < kCreationAttempts; ++attempt) {
        name = pattern;
        Descriptor fd(mkostemp(name.data(), O_CLOEXEC));
        if (fd.get() < 0) {
            problem = std::string("cannot create a new file beside it: ") + std::strerror(errno);
            return Descriptor();
        }
        // Held, and still under its name: no sweep took it in between.
        if (flock(fd.get(), LOCK_EX | LOCK_NB) == 0 && StillNamed(AT_FDCWD, name.c_str(), fd.get())) return fd;
    }
    problem = "cannot create a new file beside it: other processes keep removing it";
    return Descriptor();
}

void RemoveStaleTemporariesOf(const std::string& path) {
    const std::string stem = Stem(path);
    DIR* entries = opendir(FolderOf(path).c_str());
    if (entries == nullptr) return;
    const int folderFd = dirfd(entries);
    while (const dirent* entry = readdir(entries)) {
        if (!IsTemporaryOf(entry->d_name, stem)) continue;
        // Never a link or a FIFO; a file this process may not open is left.
        const Descriptor fd(
            openat(folderFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat info {};
        if (fd.get() < 0 || fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        // A live writer holds it; once locked here it is a dead writer's, if
        // the name still is that file (not renamed or replaced meanwhile).
        if (flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;
        if (StillNamed(folderFd, entry->d_name, fd.get())) unlinkat(folderFd, entry->d_name, 0);
    }
    closedir(entries);
}

}  // namespace platform::posix
