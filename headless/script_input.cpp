#include "headless/script_input.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

#include "platform/termination_signals.hpp"

#if defined(_WIN32)

std::unique_ptr<std::istream> OpenScript(const char* path, std::string& error) {
    // No signals to watch for: the script is read as it stands.
    if (path == nullptr) return std::make_unique<std::istream>(std::cin.rdbuf());
    auto file = std::make_unique<std::ifstream>(path, std::ios::binary);
    if (!*file) {
        error = "cannot read " + std::string(path);
        return nullptr;
    }
    return file;
}

#else

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// Reads DESCRIPTOR, and stops (end of script) as soon as a termination signal
// has come, whether or not a line is waiting.
class SignalAwareBuffer final : public std::streambuf {
public:
    explicit SignalAwareBuffer(int descriptor) : descriptor_(descriptor) {}
    ~SignalAwareBuffer() override {
        if (descriptor_ > 0) close(descriptor_);
    }

protected:
    int_type underflow() override {
        for (;;) {
            if (platform::TerminationRequested() != 0) return traits_type::eof();
            pollfd watched[2] = {{descriptor_, POLLIN, 0}, {platform::TerminationNotices(), POLLIN, 0}};
            if (poll(watched, watched[1].fd >= 0 ? 2 : 1, -1) < 0 && errno != EINTR) return traits_type::eof();
            if (platform::TerminationRequested() != 0 || watched[0].revents == 0) continue;
            const ssize_t got = read(descriptor_, buffer_, sizeof buffer_);
            if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            if (got <= 0) return traits_type::eof();
            setg(buffer_, buffer_, buffer_ + got);
            return traits_type::to_int_type(buffer_[0]);
        }
    }

private:
    int descriptor_;
    char buffer_[4096];
};

class ScriptStream final : public std::istream {
public:
    explicit ScriptStream(int descriptor) : std::istream(nullptr), buffer_(descriptor) { rdbuf(&buffer_); }

private:
    SignalAwareBuffer buffer_;
};

}  // namespace

std::unique_ptr<std::istream> OpenScript(const char* path, std::string& error) {
    int descriptor = 0;
    if (path != nullptr) {
        descriptor = open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY);
        if (descriptor < 0) {
            error = "cannot read " + std::string(path) + ": " + std::strerror(errno);
            return nullptr;
        }
    }
    return std::make_unique<ScriptStream>(descriptor);
}

#endif
