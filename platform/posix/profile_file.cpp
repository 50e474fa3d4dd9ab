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
// Before a replace the copy is compared with the file's bytes: a program that
// changes the file through a shared mapping changes its stamps only at its
// first store into a page, and the replace would undo its later ones.
//
// Only a regular file is read: a FIFO would block for ever and a device could
// be read without end, all while the caller holds the settings lock. A file
// reached through a symbolic link is replaced where the link leads, so the link
// stays; only links of the caller or of root are followed. The replacement
// keeps the file's mode, owner, group and access control list, and reaches the
// disk (file, then folder) before the write returns.
#include "platform/profile_file.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/posix/profile_copy.hpp"
#include "platform/posix/profile_temporary.hpp"
#include "platform/profile_text.hpp"

namespace platform {

namespace {

using posix::Descriptor;
using posix::ProfileCopy;

constexpr const char* kAclAttribute = "system.posix_acl_access";
constexpr int kMaxLinks = 40;                // as the kernel's own limit

std::string Reason(const std::string& what) { return what + ": " + std::strerror(errno); }

// The panel names its file the Windows way (".\KORVANE16.ini"): that one
// form, a name in the current working directory, is taken as "./NAME". Any
// other backslash is part of a name, as it is to every other program here.
std::string LocalPath(const char* file) {
    const std::string_view name(file);
    if (name.starts_with(".\\") && name.find_first_of("/\\", 2) == std::string_view::npos)
        return std::string("./").append(name.substr(2));
    return std::string(name);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Where a name leads: the end of its chain of symbolic links, and what is
// there (the lstat of it is the one look at the file an access needs).
struct Target {
    std::string path;
    bool exists = false;
    bool ownLinks = true;  // every link on the way is the caller's own
    struct stat info {};
};

// Whether a link owned by OWNER may be followed: only the caller's and root's.
// Another user's link could point the panel at any file of whoever starts it
// there (root above all), in any folder, so it counts as an unreadable file.
bool MayFollow(uid_t owner) { return owner == geteuid() || owner == 0; }

// Follows the links from PATH; nullopt, with the reason in PROBLEM, when the
// chain cannot be followed or what is at its end cannot be examined.
std::optional<Target> FollowLinks(const std::string& named, std::string& problem) {
    std::string path = named;
    bool ownLinks = true;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        Target target;
        target.ownLinks = ownLinks;
        if (lstat(path.c_str(), &target.info) != 0) {
            if (errno != ENOENT) {
                problem = Reason("cannot examine it");
                return std::nullopt;
            }
            target.path = path;
            // A link whose text names no file the kernel still reaches (as
            // /dev/stdin, /dev/fd/N of a pipe): what the kernel reaches counts.
            if (hop > 0 && stat(named.c_str(), &target.info) == 0) target.exists = true;
            return target;
        }
        if (!S_ISLNK(target.info.st_mode)) {
            target.path = path;
            target.exists = true;
            return target;
        }
        if (!MayFollow(target.info.st_uid)) {
            problem = "it is a link of another user, which is not followed";
            return std::nullopt;
        }
        ownLinks = ownLinks && target.info.st_uid == geteuid();
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
// beside PATH (held by this process until the rename, see profile_temporary),
// which reaches the disk before the rename makes it the file; the folder is
// flushed after, so the rename itself survives a power cut. While
// REPLACING, COPY still holds the old file's descriptor and attributes, which
// the new file takes over. On success COPY becomes the copy of the new file.
bool ReplaceFile(const std::string& path, ProfileCopy& copy, bool replacing, std::string& problem) {
    const std::string folder = FolderOf(path);
    std::string temporary;
    Descriptor fd = posix::CreateHeldTemporary(path, temporary, problem);
    if (fd.get() < 0) return false;
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
    flock(fd.get(), LOCK_UN);  // no longer a temporary file
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
// file, else read anew (READ_NOW tells which). nullptr, with the reason in
// PROBLEM, when the file cannot be read.
ProfileCopy* CurrentCopy(const Target& target, std::string& problem, bool* readNow = nullptr) {
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
        if (readNow != nullptr) *readNow = true;
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
        bool readNow = false;
        ProfileCopy* copy = target->exists ? CurrentCopy(*target, why, &readNow) : &held.emplace();
        std::optional<profile::Edit> edit =
            copy != nullptr ? profile::PlanSetValue(copy->text, copy->index, section, key, value) : std::nullopt;
        // A kept copy replaces the file only while it still holds the file's
        // bytes (a store through a mapping may have left the stamps alone).
        if (edit && !readNow && target->exists && !copy->HoldsTheFileBytes()) {
            held = posix::ReadCopy(target->path, why);
            copy = held ? &*held : nullptr;
            edit = copy != nullptr ? profile::PlanSetValue(copy->text, copy->index, section, key, value) : std::nullopt;
        }
        if (copy != nullptr && !edit) {
            written = true;  // the key holds the value already: the file stays untouched
        } else if (edit && target->exists && faccessat(AT_FDCWD, target->path.c_str(), W_OK, AT_EACCESS) != 0) {
            why = Reason("cannot write it");
        } else if (edit) {
            if (target->ownLinks) posix::RemoveStaleTemporariesOf(target->path);
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
    // Beside the name, and beside where its link leads, if it is one of the
    // caller's own links.
    const std::string named = LocalPath(file);
    posix::RemoveStaleTemporariesOf(named);
    std::string ignored;
    const std::optional<Target> target = FollowLinks(named, ignored);
    if (target && target->ownLinks && target->path != named) posix::RemoveStaleTemporariesOf(target->path);
}

}  // namespace platform
