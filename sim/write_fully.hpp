// Writing a whole buffer to a file from its first byte on POSIX systems, for
// the board file and the snapshot's new temporary file alike.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace sim {

// 0, or the error that stopped the write (ENOSPC for a write cut short).
inline int WriteFromStart(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = pwrite(fd, bytes + done, size - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return ENOSPC;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

}  // namespace sim
