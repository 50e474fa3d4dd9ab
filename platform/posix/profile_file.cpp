// Private-profile files on POSIX: the text rules of profile_text on the
// file's text, and writes that replace the file atomically, so a crash or kill
// at any moment leaves either the old or the new file, never a torn or empty
// one.
//
// The text and an index of its sections stay in memory between accesses
// (profile_copy): an access costs one lstat while nobody changed the file, a
// write of the value a key already holds costs nothing more, and a changed
// write edits the copy and replaces the file with it.
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
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/posix/profile_copy.hpp"
#include "platform/profile_text.hpp"

namespace platform {

namespace {

using posix::Descriptor;
using posix::ProfileCopy;

constexpr const char* kAclAttribute = "system.posix_acl_access";
constexpr std::size_t kTemporarySuffix = 6;  // the XXXXXX of mkstemp
constexpr int kMaxLinks = 40;                // as the kernel's own limit

std::string Reason(const std::string& what) { return what + ": " + std::strerror(errno); }

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

// Where a name leads: the end of its chain of symbolic links, and what is
// there (the lstat of it is the one look at the file an access needs).
struct Target {
    std::string path;
    bool exists = false;
    struct stat info {};
};

// Whether the link LINK at PATH may be followed. In a folder anyone may write
// and only owners may delete from (as /tmp), a link of another user could
// point the panel at any file of whoever starts it there; the kernel refuses to
// follow such a link itself, and the links are followed here by hand, so the
// same rule is kept: only a link of this user or of the folder's owner.
bool MayFollow(const std::string& path, const struct stat& link) {
    if (link.st_uid == geteuid()) return true;
    struct stat folder {};
    if (stat(FolderOf(path).c_str(), &folder) != 0) return false;
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || link.st_uid == folder.st_uid;
}

// Follows the links from PATH; nullopt, with the reason in PROBLEM, when the
// chain cannot be followed or what is at its end cannot be examined.
std::optional<Target> FollowLinks(std::string path, std::string& problem) {
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        Target target;
        if (lstat(path.c_str(), &target.info) != 0) {
            if (errno != ENOENT) {
                problem = Reason("cannot examine it");
                return std::nullopt;
            }
            target.path = path;
            return target;
        }
        if (!S_ISLNK(target.info.st_mode)) {
            target.path = path;
            target.exists = true;
            return target;
        }
        if (!MayFollow(path, target.info)) {
            problem = "it is a link of another user in a folder anyone may write, which is not followed";
            return std::nullopt;
        }
        std::string link(static_cast<std::size_t>(target.info.st_size) + 256, '\0');
        const ssize_t length = readlink(path.c_str(), link.data(), link.size());
        if (length < 0) {
            problem = Reason("cannot follow its link");
            return std::nullopt;
        }
        link.resize(static_cast<std::size_t>(length));
        path = link.starts_with('/') ? link : FolderOf(path) + "/" + link;
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
// Appended, not added to a one-letter literal: GCC 12 at -O3 reports a false
// -Wrestrict for that.
std::string TemporaryStem(const std::string& path) { return std::string(1, '.').append(NameOf(path)).append("."); }

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

// The raw access control list of the file FD, empty when it has none.
std::string AccessList(int fd) {
    std::string acl;
    const ssize_t size = fgetxattr(fd, kAclAttribute, nullptr, 0);
    if (size > 0) {
        acl.resize(static_cast<std::size_t>(size));
        const ssize_t got = fgetxattr(fd, kAclAttribute, acl.data(), acl.size());
        acl.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    }
    return acl;
}

// Gives the new file FD what the old one (OLD) had: owner and group first (a
// change of owner clears the set-id bits), then the mode, then the access list.
bool KeepAttributes(int fd, const ProfileCopy& old, std::string& problem) {
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
    const std::string acl = AccessList(old.file.get());
    if (!acl.empty() && fsetxattr(fd, kAclAttribute, acl.data(), acl.size(), 0) != 0) {
        problem = Reason("cannot give the new file the access list of the old");
        return false;
    }
    return true;
}

// The one place the file is replaced: COPY's text goes to a temporary file
// beside PATH, which reaches the disk before the rename makes it the file; the
// folder is flushed after, so the rename itself survives a power cut. While
// REPLACING, COPY still holds the old file's descriptor and attributes, which
// the new file takes over. On success COPY becomes the copy of the new file.
bool ReplaceFile(const std::string& path, ProfileCopy& copy, bool replacing, std::string& problem) {
    const std::string folder = FolderOf(path);
    std::string temporary = folder + "/" + TemporaryStem(path) + std::string(kTemporarySuffix, 'X');
    Descriptor fd(mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        problem = Reason("cannot create a new file beside it");
        return false;
    }
    bool ok = WriteAll(fd.get(), copy.text);
    if (!ok) problem = Reason("cannot write the new file");
    if (ok && replacing) ok = KeepAttributes(fd.get(), copy, problem);
    if (ok && !replacing && fchmod(fd.get(), 0666 & ~CurrentUmask()) != 0) {
        problem = Reason("cannot set the new file's permissions");
        ok = false;
    }
    if (ok && fsync(fd.get()) != 0) {
        problem = Reason("cannot flush the new file to the disk");
        ok = false;
    }
    struct stat written {};
    ok = ok && fstat(fd.get(), &written) == 0;
    // Any change of the bytes once the new file is in place gets a later
    // modification time than its own, if this one is settled now.
    const bool settled = ok && posix::ModificationSettled(written, posix::Now());
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
    // The rename changed the file's change time; a change of its bytes since
    // the write shows in its modification time or size.
    if (fstat(fd.get(), &copy.info) != 0) return false;
    const bool untouched = copy.info.st_size == written.st_size &&
                           copy.info.st_mtim.tv_sec == written.st_mtim.tv_sec &&
                           copy.info.st_mtim.tv_nsec == written.st_mtim.tv_nsec;
    copy.path = path;
    copy.file = std::move(fd);
    copy.identity = posix::FileIdentity::Of(copy.info);
    copy.trusted = settled && untouched;
    return true;
}

// The copy of the file this process last read or wrote; one file at a time,
// the panel has one. Guarded for callers on several threads.
std::mutex copyMutex;
std::optional<ProfileCopy> held;

// The copy of the regular file at TARGET: the one held while it still is the
// file, else read anew. nullptr, with the reason in PROBLEM, when the file
// cannot be read.
ProfileCopy* CurrentCopy(const Target& target, std::string& problem) {
    if (S_ISDIR(target.info.st_mode)) {
        problem = "it is a folder, not a file";
    } else if (!S_ISREG(target.info.st_mode)) {
        // Looked at before opening: opening a FIFO or a device can block or act.
        problem = "it is not a regular file";
    } else if (held && held->StillTheFile(target.path, target.info)) {
        return &*held;
    } else {
        held.reset();
        held = posix::ReadCopy(target.path, problem);
        if (held) return &*held;
    }
    held.reset();
    return nullptr;
}

}  // namespace

std::int32_t ReadProfileInt(const char* section, const char* key, std::int32_t defaultValue, const char* file,
                            std::string* problem) {
    std::string why;
    std::int32_t result = defaultValue;
    if (section != nullptr && key != nullptr && file != nullptr) {
        const std::lock_guard guard(copyMutex);
        const std::optional<Target> target = FollowLinks(LocalPath(file), why);
        if (target && target->exists) {
            if (const ProfileCopy* copy = CurrentCopy(*target, why))
                if (const auto value = profile::FindValue(copy->text, copy->index, section, key))
                    result = profile::ParseInt(*value, defaultValue);
        } else {
            held.reset();
        }
    }
    if (problem != nullptr) *problem = why;
    return result;
}

bool WriteProfileString(const char* section, const char* key, const char* value, const char* file,
                        std::string* problem) {
    std::string why;
    bool written = false;
    const std::lock_guard guard(copyMutex);
    const std::optional<Target> target =
        section != nullptr && key != nullptr && value != nullptr && file != nullptr ? FollowLinks(LocalPath(file), why)
                                                                                    : std::nullopt;
    if (section == nullptr || key == nullptr || value == nullptr || file == nullptr) {
        why = "nothing to write";
    } else if (target) {
        // A file that cannot be read is never replaced: its settings would be lost.
        ProfileCopy* copy = target->exists ? CurrentCopy(*target, why) : &held.emplace();
        const std::optional<profile::Edit> edit =
            copy != nullptr ? profile::PlanSetValue(copy->text, copy->index, section, key, value) : std::nullopt;
        if (copy != nullptr && !edit) {
            written = true;  // the key holds the value already: the file stays untouched
        } else if (edit && target->exists && faccessat(AT_FDCWD, target->path.c_str(), W_OK, AT_EACCESS) != 0) {
            why = Reason("cannot write it");
        } else if (edit) {
            RemoveStaleTemporariesOf(target->path);
            profile::ApplyEdit(copy->text, copy->index, *edit);
            written = ReplaceFile(target->path, *copy, target->exists, why);
            if (!written) held.reset();  // the file is as it was: read it again next time
        }
    }
    if (problem != nullptr) *problem = written ? std::string() : why;
    return written;
}

void ForgetProfileCopies() {
    const std::lock_guard guard(copyMutex);
    held.reset();
}

void RemoveStaleTemporaries(const char* file) {
    // Beside the name, and beside where its link leads, if it is one.
    const std::string named = LocalPath(file);
    RemoveStaleTemporariesOf(named);
    std::string ignored;
    const std::optional<Target> target = FollowLinks(named, ignored);
    if (target && target->path != named) RemoveStaleTemporariesOf(target->path);
}

}  // namespace platform
