#include "sim/snapshot_file.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#include <process.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <random>
#endif

namespace sim {

std::string PpmBytes(const Picture& picture) {
    std::string bytes = "P6\n" + std::to_string(picture.width) + ' ' + std::to_string(picture.height) + "\n255\n";
    bytes.append(reinterpret_cast<const char*>(picture.bytes.data()), picture.bytes.size());
    return bytes;
}

#if defined(_WIN32)

namespace {

// Puts TEMPORARY in the place of PATH in one step; 0, or the system's error code.
DWORD ReplaceFile(const std::string& temporary, const std::string& path) {
    const bool moved =
        MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    return moved ? 0 : GetLastError();
}

}  // namespace

bool WritePpmAtomically(const std::string& path, const Picture& picture, std::string& error) {
    // Beside the file, so the replace stays on one file system.
    const std::string temporary = path + ".part" + std::to_string(_getpid());
    const std::string bytes = PpmBytes(picture);
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        error = "cannot create " + temporary + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        error = "cannot write " + temporary + ": " + std::strerror(written ? errno : writeError);
        std::remove(temporary.c_str());
        return false;
    }
    if (const DWORD failure = ReplaceFile(temporary, path); failure != 0) {
        error = "cannot replace " + path + ": system error " + std::to_string(failure);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

#else

namespace {

std::string Reason(const std::string& what, int error = errno) { return what + ": " + std::strerror(error); }

// A name beside PATH that no one can foresee, so none can be prepared for it.
std::string UnforeseeableName(const std::string& path) {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::string name = path + '.';
    for (int i = 0; i < 10; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
    return name;
}

// A new file of this process's own beside PATH: never an existing file, a link
// or a FIFO someone put there. -1 with the reason in ERROR.
int CreateTemporary(const std::string& path, std::string& temporary, std::string& error) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = UnforeseeableName(path);
        const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            if (fd < 0) error = Reason("cannot create " + temporary);
            return fd;
        }
    }
    error = "cannot create a temporary file beside " + path + ": every name tried was taken";
    return -1;
}

// 0, or the error that stopped the write (ENOSPC for a write cut short).
int WriteAll(int fd, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return ENOSPC;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

}  // namespace

bool WritePpmAtomically(const std::string& path, const Picture& picture, std::string& error) {
    // Beside the file, so the replace stays on one file system.
    std::string temporary;
    const int fd = CreateTemporary(path, temporary, error);
    if (fd < 0) return false;
    int failure = WriteAll(fd, PpmBytes(picture));
    if (close(fd) != 0 && failure == 0) failure = errno;
    if (failure != 0) {
        error = Reason("cannot write " + temporary, failure);
    } else if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = Reason("cannot replace " + path);
    } else {
        return true;
    }
    unlink(temporary.c_str());
    return false;
}

#endif

}  // namespace sim
