#include "platform/posix/profile_copy.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/profile_file.hpp"

namespace platform::posix {

namespace {

constexpr long kNanosecondsPerSecond = 1000000000L;
// The coarsest stamps in use (FAT keeps even seconds): assumed where the
// file's change time shows no fraction of a second.
constexpr long long kCoarsestStampNs = 2 * kNanosecondsPerSecond;

long long Nanoseconds(const timespec& t) { return t.tv_sec * static_cast<long long>(kNanosecondsPerSecond) + t.tv_nsec; }

std::string Reason(const std::string& what) { return what + ": " + std::strerror(errno); }

// How far a file stamp may lag behind the real clock: the kernel stamps files
// from its coarse clock, which moves once per tick. Two ticks, to be safe.
long long StampLagNs() {
    static const long long lag = [] {
        timespec tick{0, 10000000L};  // 10 ms, the longest tick, where the clock does not say
        clock_getres(CLOCK_REALTIME_COARSE, &tick);
        return 2 * Nanoseconds(tick);
    }();
    return lag;
}

std::string TooLarge() { return "it is larger than " + std::to_string(kMaxProfileFileBytes) + " bytes"; }

}  // namespace

void Descriptor::Reset() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

FileIdentity FileIdentity::Of(const struct stat& info) {
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

bool FileIdentity::operator==(const FileIdentity& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           Nanoseconds(modified) == Nanoseconds(other.modified) && Nanoseconds(changed) == Nanoseconds(other.changed);
}

timespec Now() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

namespace {

bool SettledSince(long long latestStampNs, const struct stat& info, const timespec& now) {
    const long long granularity = info.st_ctim.tv_nsec == 0 ? kCoarsestStampNs : 0;
    return latestStampNs + StampLagNs() + granularity < Nanoseconds(now);
}

}  // namespace

bool StampsSettled(const struct stat& info, const timespec& now) {
    return SettledSince(std::max(Nanoseconds(info.st_mtim), Nanoseconds(info.st_ctim)), info, now);
}

bool ModificationSettled(const struct stat& info, const timespec& now) {
    return SettledSince(Nanoseconds(info.st_mtim), info, now);
}

bool ProfileCopy::StillTheFile(const std::string& atPath, const struct stat& now) const {
    return trusted && atPath == path && identity == FileIdentity::Of(now);
}

bool ProfileCopy::HoldsTheFileBytes() const {
    char buffer[65536];
    std::size_t at = 0;
    for (;;) {
        const ssize_t count = pread(file.get(), buffer, sizeof buffer, static_cast<off_t>(at));
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return false;
        if (count == 0) return at == text.size();
        const auto size = static_cast<std::size_t>(count);
        if (size > text.size() - at || std::memcmp(buffer, text.data() + at, size) != 0) return false;
        at += size;
    }
}

std::optional<ProfileCopy> ReadCopy(const std::string& path, std::string& problem) {
    ProfileCopy copy;
    copy.path = path;
    const timespec before = Now();  // any change from here on gets later stamps, if these are settled
    copy.file = Descriptor(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (copy.file.get() < 0) {
        problem = Reason("cannot read it");
        return std::nullopt;
    }
    // Checked again on what was opened, in case the name changed meanwhile.
    if (fstat(copy.file.get(), &copy.info) != 0 || !S_ISREG(copy.info.st_mode)) {
        problem = "it is not a regular file";
        return std::nullopt;
    }
    if (copy.info.st_size > kMaxProfileFileBytes) {
        problem = TooLarge();
        return std::nullopt;
    }
    // One allocation of the size the file has, filled by appending: in a new
    // process every page of it is new memory, and filling it with zeros first
    // would cost as much again. A file growing meanwhile is read on to its
    // end, within the bound.
    std::string& text = copy.text;
    text.reserve(static_cast<std::size_t>(copy.info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t count = read(copy.file.get(), buffer, sizeof buffer);
        if (count == 0) break;
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) {
            problem = Reason("cannot read it");
            return std::nullopt;
        }
        text.append(buffer, static_cast<std::size_t>(count));
        if (text.size() > static_cast<std::size_t>(kMaxProfileFileBytes)) {
            problem = TooLarge();
            return std::nullopt;
        }
    }
    // Windows reads a file with a UTF-16 byte-order mark as UTF-16; this reader
    // and its byte-wise edits would misread it and spoil it.
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        problem = "it is UTF-16 text, which the panel reads on Windows only";
        return std::nullopt;
    }
    // The identity is the one seen before reading: a change while the bytes
    // were read gives the file another, and the next access reads it again.
    copy.identity = FileIdentity::Of(copy.info);
    copy.trusted = StampsSettled(copy.info, before);
    copy.index = profile::SectionIndex(text);
    return copy;
}

}  // namespace platform::posix
