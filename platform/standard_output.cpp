#include "platform/standard_output.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {

void GuardStandardStreams() {
#if !defined(_WIN32)
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // Opened read-only, so a write to it fails as a write to a closed one does.
        const int stand_in = open("/dev/null", O_RDONLY);
        if (stand_in >= 0 && stand_in != fd) {
            dup2(stand_in, fd);
            close(stand_in);
        }
    }
#endif
}

int FinishStandardOutput(const char* program, int status) {
    // Standard output first, so its errno is the reason; the stream's own
    // flush reaches the same descriptor.
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int why = errno;
    std::cout.flush();
    if (flushed && !std::ferror(stdout) && !std::cout.bad()) return status;
    std::fprintf(stderr, "%s: cannot write to standard output%s%s\n", program, why != 0 ? ": " : "",
                 why != 0 ? std::strerror(why) : "");
    return status == 0 ? 1 : status;
}

}  // namespace platform
