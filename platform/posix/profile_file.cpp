// Private-profile files on POSIX: the text rules of profile_text on whole-file
// reads, and writes that replace the file atomically, so a crash or kill at any
// moment leaves either the old or the new file, never a torn or empty one.
//
// Only a regular file is read: a FIFO would block for ever and a device could
// be read without end, all while the caller holds the settings lock. A file
// reached through a symbolic link is replaced where the link leads, so the link
// stays. The replacement keeps the file's mode, owner, group and access control
// list, and reaches the disk (file, then folder) before the write returns.
#include "platform/profile_file.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "platform/profile_text.hpp"

namespace platform {

namespace {

constexpr const char* kAclAttribute = "system.posix_acl_access";
constexpr std::size_t kTemporarySuffix = 6;  // the XXXXXX of mkstemp
constexpr int kMaxLinks = 40;                // as the kernel's own limit

std::string Reason(const std::string& what) { return what + ": " + std::strerror(errno); }

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Callers name files the Windows way (".\KORVANE16.ini"): a backslash separates
// folders, so ".\" is the current working directory.
std::string LocalPath(const char* file) {
    std::string path(file);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path a chain of symbolic links leads to (the path itself when it is no
// link); the end of the chain need not exist.
std::optional<std::string> FollowLinks(std::string path, std::string& problem) {
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::string target(static_cast<std::size_t>(info.st_size) + 256, '\0');
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            problem = Reason("cannot follow its link");
            return std::nullopt;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.starts_with('/') ? target : FolderOf(path) + "/" + target;
    }
    problem = "too many levels of symbolic links";
    return std::nullopt;
}

// The mask without changing it: reading it from /proc is safe beside other
// threads, umask() is the fallback where /proc is missing.
mode_t CurrentUmask() {
    if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
        unsigned mask = 0;
        bool found = false;
        char line[256];
        while (!found && std::fgets(line, sizeof line, status) != nullptr)
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found) return static_cast<mode_t>(mask);
    }
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

struct FileContents {
    std::string text;
    bool exists = false;
    struct stat info {};  // of the file read, when it exists
    std::string acl;      // its access control list, raw; empty when it has none
};

// The one place the file is read. An empty text when it does not exist;
// nullopt, with the reason in PROBLEM, when it exists but cannot be read, or
// (FOR_WRITING) cannot be written by this process.
std::optional<FileContents> ReadFile(const std::string& path, bool forWriting, std::string& problem) {
    FileContents contents;
    // Look before opening: opening a FIFO or a device can block or act.
    if (stat(path.c_str(), &contents.info) != 0) {
        if (errno == ENOENT) return contents;
        problem = Reason("cannot examine it");
        return std::nullopt;
    }
    if (S_ISDIR(contents.info.st_mode)) {
        problem = "it is a folder, not a file";
        return std::nullopt;
    }
    if (!S_ISREG(contents.info.st_mode)) {
        problem = "it is not a regular file";
        return std::nullopt;
    }
    const int flags = (forWriting ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    const Descriptor fd(open(path.c_str(), flags));
    if (fd.get() < 0) {
        problem = Reason(forWriting ? "cannot write it" : "cannot read it");
        return std::nullopt;
    }
    // Checked again on what was opened, in case the name changed meanwhile.
    if (fstat(fd.get(), &contents.info) != 0 || !S_ISREG(contents.info.st_mode)) {
        problem = "it is not a regular file";
        return std::nullopt;
    }
    if (contents.info.st_size > kMaxProfileFileBytes) {
        problem = "it is larger than " + std::to_string(kMaxProfileFileBytes) + " bytes";
        return std::nullopt;
    }
    contents.exists = true;
    char buffer[16384];
    for (;;) {
        const ssize_t count = read(fd.get(), buffer, sizeof buffer);
        if (count == 0) break;
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) {
            problem = Reason("cannot read it");
            return std::nullopt;
        }
        contents.text.append(buffer, static_cast<std::size_t>(count));
        if (contents.text.size() > static_cast<std::size_t>(kMaxProfileFileBytes)) {
            problem = "it is larger than " + std::to_string(kMaxProfileFileBytes) + " bytes";
            return std::nullopt;
        }
    }
    // Windows reads a file with a UTF-16 byte-order mark as UTF-16; this reader
    // and its byte-wise edits would misread it and spoil it.
    if (contents.text.starts_with("\xFF\xFE") || contents.text.starts_with("\xFE\xFF")) {
        problem = "it is UTF-16 text, which the panel reads on Windows only";
        return std::nullopt;
    }
    if (forWriting) {
        const ssize_t size = fgetxattr(fd.get(), kAclAttribute, nullptr, 0);
        if (size > 0) {
            contents.acl.resize(static_cast<std::size_t>(size));
            const ssize_t got = fgetxattr(fd.get(), kAclAttribute, contents.acl.data(), contents.acl.size());
            contents.acl.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        }
    }
    return contents;
}

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t count = write(fd, text.data(), text.size());
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

// "dir/.NAME." beside "dir/NAME": the same folder, so the rename stays on one
// file system; hidden, since a kill before the rename leaves it behind until
// the next access removes it.
std::string TemporaryStem(const std::string& path) { return "." + NameOf(path) + "."; }

bool IsTemporaryOf(std::string_view name, std::string_view stem) {
    if (!name.starts_with(stem) || name.size() != stem.size() + kTemporarySuffix) return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(stem.size()), name.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    });
}

void RemoveStaleTemporariesOf(const std::string& path) {
    const std::string folder = FolderOf(path);
    const std::string stem = TemporaryStem(path);
    DIR* entries = opendir(folder.c_str());
    if (entries == nullptr) return;
    while (const dirent* entry = readdir(entries)) {
        if (IsTemporaryOf(entry->d_name, stem)) unlinkat(dirfd(entries), entry->d_name, 0);
    }
    closedir(entries);
}

// Gives the new file FD what the old one had: owner and group first (a change
// of owner clears the set-id bits), then the mode, then the access list.
bool KeepAttributes(int fd, const FileContents& old, std::string& problem) {
    const struct stat& info = old.info;
    struct stat now {};
    if (fstat(fd, &now) != 0) {
        problem = Reason("cannot examine the new file");
        return false;
    }
    if ((now.st_uid != info.st_uid || now.st_gid != info.st_gid) && fchown(fd, info.st_uid, info.st_gid) != 0) {
        problem = Reason("cannot give the new file the owner and group of the old");
        return false;
    }
    if (fchmod(fd, info.st_mode & 07777) != 0) {
        problem = Reason("cannot give the new file the permissions of the old");
        return false;
    }
    if (!old.acl.empty() && fsetxattr(fd, kAclAttribute, old.acl.data(), old.acl.size(), 0) != 0) {
        problem = Reason("cannot give the new file the access list of the old");
        return false;
    }
    return true;
}

// The one place the file is replaced: the new text goes to a temporary file
// beside it, which reaches the disk before the rename makes it the file; the
// folder is flushed after, so the rename itself survives a power cut.
bool ReplaceFile(const std::string& path, std::string_view text, const FileContents& old, std::string& problem) {
    const std::string folder = FolderOf(path);
    std::string temporary = folder + "/" + TemporaryStem(path) + std::string(kTemporarySuffix, 'X');
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        problem = Reason("cannot create a new file beside it");
        return false;
    }
    bool ok = WriteAll(fd, text);
    if (!ok) problem = Reason("cannot write the new file");
    if (ok && old.exists) ok = KeepAttributes(fd, old, problem);
    if (ok && !old.exists && fchmod(fd, 0666 & ~CurrentUmask()) != 0) {
        problem = Reason("cannot set the new file's permissions");
        ok = false;
    }
    if (ok && fsync(fd) != 0) {
        problem = Reason("cannot flush the new file to the disk");
        ok = false;
    }
    if (close(fd) != 0 && ok) {
        problem = Reason("cannot write the new file");
        ok = false;
    }
    if (ok && rename(temporary.c_str(), path.c_str()) != 0) {
        problem = Reason("cannot replace it");
        ok = false;
    }
    if (!ok) {
        unlink(temporary.c_str());
        return false;
    }
    const Descriptor folderFd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // Some file systems cannot flush a folder (EINVAL); the file itself is safe there.
    if (folderFd.get() < 0 || (fsync(folderFd.get()) != 0 && errno != EINVAL)) {
        problem = Reason("cannot flush its folder to the disk");
        return false;
    }
    return true;
}

}  // namespace

std::int32_t ReadProfileInt(const char* section, const char* key, std::int32_t defaultValue, const char* file,
                            std::string* problem) {
    std::string why;
    std::int32_t result = defaultValue;
    if (section != nullptr && key != nullptr && file != nullptr) {
        const std::optional<std::string> path = FollowLinks(LocalPath(file), why);
        const std::optional<FileContents> contents = path ? ReadFile(*path, false, why) : std::nullopt;
        const std::optional<std::string> value =
            contents ? profile::FindValue(contents->text, section, key) : std::nullopt;
        if (value) result = profile::ParseInt(*value, defaultValue);
    }
    if (problem != nullptr) *problem = why;
    return result;
}

bool WriteProfileString(const char* section, const char* key, const char* value, const char* file,
                        std::string* problem) {
    std::string why;
    bool written = false;
    if (section == nullptr || key == nullptr || value == nullptr || file == nullptr) {
        why = "nothing to write";
    } else if (const std::optional<std::string> path = FollowLinks(LocalPath(file), why)) {
        // A file that cannot be read is never replaced: its settings would be lost.
        if (const std::optional<FileContents> contents = ReadFile(*path, true, why)) {
            const std::optional<std::string> text = profile::SetValue(contents->text, section, key, value);
            if (text) RemoveStaleTemporariesOf(*path);
            // Without a change the file stays untouched.
            written = !text || ReplaceFile(*path, *text, *contents, why);
        }
    }
    if (problem != nullptr) *problem = written ? std::string() : why;
    return written;
}

void RemoveStaleTemporaries(const char* file) {
    // Beside the name, and beside where its link leads, if it is one.
    const std::string named = LocalPath(file);
    RemoveStaleTemporariesOf(named);
    std::string ignored;
    const std::optional<std::string> path = FollowLinks(named, ignored);
    if (path && *path != named) RemoveStaleTemporariesOf(*path);
}

}  // namespace platform
