#include "sim/snapshot_file.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace sim {

namespace {

int ProcessId() {
#if defined(_WIN32)
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

// Puts TEMPORARY in the place of PATH in one step.
bool ReplaceFile(const std::string& temporary, const std::string& path) {
#if defined(_WIN32)
    return MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(temporary.c_str(), path.c_str()) == 0;
#endif
}

}  // namespace

std::string PpmBytes(const Picture& picture) {
    std::string bytes = "P6\n" + std::to_string(picture.width) + ' ' + std::to_string(picture.height) + "\n255\n";
    bytes.append(reinterpret_cast<const char*>(picture.bytes.data()), picture.bytes.size());
    return bytes;
}

bool WritePpmAtomically(const std::string& path, const Picture& picture, std::string& error) {
    // Beside the file, so the replace stays on one file system.
    const std::string temporary = path + ".part" + std::to_string(ProcessId());
    const std::string bytes = PpmBytes(picture);
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        error = "cannot create " + temporary + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        error = "cannot write " + temporary;
        std::remove(temporary.c_str());
        return false;
    }
    if (!ReplaceFile(temporary, path)) {
        error = "cannot replace " + path;
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace sim
