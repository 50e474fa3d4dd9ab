#include "sim/snapshot_file.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#if defined(_WIN32)
#include <windows.h>

#include <cctype>
#else
#include <fcntl.h>
#include <unistd.h>

#include "sim/write_fully.hpp"
#endif

namespace sim {

std::string PpmBytes(const Picture& picture) {
    std::string bytes = "P6\n" + std::to_string(picture.width) + ' ' + std::to_string(picture.height) + "\n255\n";
    bytes.append(reinterpret_cast<const char*>(picture.bytes.data()), picture.bytes.size());
    return bytes;
}

namespace {

// A name beside PATH that no one can foresee, so none can be prepared for it.
std::string UnforeseeableName(const std::string& path) {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::string name = path + '.';
    for (int i = 0; i < 10; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
    return name;
}

}  // namespace

#if defined(_WIN32)

namespace {

// WHAT and the system's words for the error CODE.
std::string Reason(const std::string& what, DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string words = "error " + std::to_string(code);
    if (length != 0 && text != nullptr) {
        words = text;
        while (!words.empty() && (std::isspace(static_cast<unsigned char>(words.back())) || words.back() == '.'))
            words.pop_back();
    }
    LocalFree(text);
    return what + ": " + words;
}

// A new file of this process's own beside PATH, never one already there.
// INVALID_HANDLE_VALUE with the reason in ERROR.
HANDLE CreateTemporary(const std::string& path, std::string& temporary, std::string& error) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = UnforeseeableName(path);
        const HANDLE file =
            CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD code = file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (code != ERROR_FILE_EXISTS) {
            if (code != 0) error = Reason("cannot create " + temporary, code);
            return file;
        }
    }
    error = "cannot create a temporary file beside " + path + ": every name tried was taken";
    return INVALID_HANDLE_VALUE;
}

// 0, or the error that stopped the write.
DWORD WriteAll(HANDLE file, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr))
            return GetLastError();
        if (written == 0) return ERROR_DISK_FULL;
        done += written;
    }
    return 0;
}

}  // namespace

bool WritePpmAtomically(const std::string& path, const Picture& picture, std::string& error) {
    // Beside the file, so the replace stays on one file system.
    std::string temporary;
    const HANDLE file = CreateTemporary(path, temporary, error);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD failure = WriteAll(file, PpmBytes(picture));
    if (!CloseHandle(file) && failure == 0) failure = GetLastError();
    if (failure != 0) {
        error = Reason("cannot write " + temporary, failure);
    } else if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = Reason("cannot replace " + path, GetLastError());
    } else {
        return true;
    }
    DeleteFileA(temporary.c_str());
    return false;
}

#else

namespace {

std::string Reason(const std::string& what, int error = errno) { return what + ": " + std::strerror(error); }

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

}  // namespace

bool WritePpmAtomically(const std::string& path, const Picture& picture, std::string& error) {
    // Beside the file, so the replace stays on one file system.
    std::string temporary;
    const int fd = CreateTemporary(path, temporary, error);
    if (fd < 0) return false;
    const std::string bytes = PpmBytes(picture);
    int failure = sim::WriteFromStart(fd, bytes.data(), bytes.size());
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
