// A settings file's text kept in memory between accesses, with the identity of
// the file it is the text of. Under the settings lock one stat of the file
// decides whether the copy still is the file; only when it is not is the file
// read again.
#pragma once

#include <sys/stat.h>
#include <time.h>

#include <optional>
#include <string>

#include "platform/profile_text.hpp"

namespace platform::posix {

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { Reset(); }
    Descriptor(Descriptor&& other) noexcept : fd_(other.Release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            Reset();
            fd_ = other.Release();
        }
        return *this;
    }
    int get() const { return fd_; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void Reset();

private:
    int fd_ = -1;
};

// What tells one state of a file from another: any change of its bytes or
// attributes, or another file in its place, changes one of these.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    static FileIdentity Of(const struct stat& info);
    bool operator==(const FileIdentity& other) const;
};

// The clock that file stamps are taken from, now.
timespec Now();

// True when a change made to the file after NOW is sure to give it other
// stamps than INFO holds. File stamps come from a clock that moves in ticks
// (and on some file systems in whole seconds), so a change within the same
// tick as the last one can leave them as they were: a copy taken then is not
// to be trusted.
bool StampsSettled(const struct stat& info, const timespec& now);
// The same for the file's bytes alone: a change of them after NOW is sure to
// give the file another modification time than INFO holds.
bool ModificationSettled(const struct stat& info, const timespec& now);

struct ProfileCopy {
    std::string path;       // the file it is the text of (links followed)
    Descriptor file;        // kept open, so the file's inode cannot be reused by another
    struct stat info {};    // the file's owner, group and mode
    FileIdentity identity;  // the state the text was read or written in
    bool trusted = false;   // StampsSettled when it was read or written
    std::string text;
    profile::SectionIndex index;

    // True when a file whose lstat gave INFO at PATH still holds TEXT.
    bool StillTheFile(const std::string& atPath, const struct stat& now) const;
    // True when the file read or written holds TEXT byte for byte, as it
    // stands now: one read of it, no trust in its stamps.
    bool HoldsTheFileBytes() const;
};

// Reads the regular file PATH (whose lstat gave INFO) into a copy; nullopt,
// with the reason in PROBLEM, when it cannot be read or is no settings file
// this layer may read.
std::optional<ProfileCopy> ReadCopy(const std::string& path, std::string& problem);

}  // namespace platform::posix
