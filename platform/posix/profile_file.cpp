// Private-profile files on POSIX: the text rules of profile_text on whole-file
// reads, and writes that replace the file atomically, so a crash or kill at any
// moment leaves either the old or the new file, never a torn or empty one.
#include "platform/profile_file.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/profile_text.hpp"

namespace platform {

namespace {

// Callers name files the Windows way (".\KORVANE16.ini"): a backslash separates
// folders, so ".\" is the current working directory.
std::string LocalPath(const char* file) {
    std::string path(file);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
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
    std::optional<mode_t> mode;  // permission bits; none when the file does not exist
};

// The file's bytes and permission bits; an empty text when it does not exist;
// nullopt when it exists but cannot be read.
std::optional<FileContents> ReadFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) return std::nullopt;
        return FileContents{};
    }
    FileContents contents;
    struct stat info {};
    bool ok = fstat(fd, &info) == 0;
    contents.mode = info.st_mode & 07777;
    char buffer[16384];
    while (ok) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count > 0)
            contents.text.append(buffer, static_cast<std::size_t>(count));
        else if (count == 0)
            break;
        else
            ok = errno == EINTR;
    }
    close(fd);
    if (!ok) return std::nullopt;
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

// "dir/.NAME.XXXXXX" beside "dir/NAME": the same folder, so the rename stays on
// one file system; hidden, since a kill between creating and renaming it leaves
// it behind.
std::string TemporaryName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, nameStart) + "." + path.substr(nameStart) + ".XXXXXX";
}

bool ReplaceFile(const std::string& path, std::string_view text, mode_t mode) {
    std::string temporary = TemporaryName(path);
    const int fd = mkstemp(temporary.data());
    if (fd < 0) return false;
    // The bytes and the mode reach the disk before the rename makes them the file.
    bool ok = WriteAll(fd, text) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok && rename(temporary.c_str(), path.c_str()) == 0) return true;
    unlink(temporary.c_str());
    return false;
}

}  // namespace

std::int32_t ReadProfileInt(const char* section, const char* key, std::int32_t defaultValue, const char* file) {
    if (section == nullptr || key == nullptr || file == nullptr) return defaultValue;
    const std::optional<FileContents> contents = ReadFile(LocalPath(file));
    if (!contents) return defaultValue;
    const std::optional<std::string> value = profile::FindValue(contents->text, section, key);
    return value ? profile::ParseInt(*value, defaultValue) : defaultValue;
}

bool WriteProfileString(const char* section, const char* key, const char* value, const char* file) {
    if (section == nullptr || key == nullptr || value == nullptr || file == nullptr) return false;
    const std::string path = LocalPath(file);
    const std::optional<FileContents> contents = ReadFile(path);
    if (!contents) return false;  // never replace a file that exists but could not be read
    const std::optional<std::string> text = profile::SetValue(contents->text, section, key, value);
    if (!text) return true;  // the key already holds the value: the file stays untouched
    const mode_t mode = contents->mode ? *contents->mode : 0666 & ~CurrentUmask();
    return ReplaceFile(path, *text, mode);
}

}  // namespace platform
