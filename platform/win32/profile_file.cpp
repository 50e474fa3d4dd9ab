// The settings file on Windows. Reads go through the system's own integer
// read, so a file means here exactly what Windows makes of it. Writes keep the
// system's own text rules too, but never edit the file in place: the system
// edits a copy beside it, which is flushed and then moved over the file with
// write-through, so a crash or kill leaves either the old or the new file.
//
// The copy is named ".NAME.k16tmp-XXXXXX": ".NAME.XXXXXX" is what file copiers
// use for their files in flight, and those are never touched. The writer keeps
// its copy open without sharing it for deletion from its creation until just
// before the move, and the sweep removes only a copy it can open for deletion
// with no sharing at all: one that no live writer holds.
#include "platform/profile_file.hpp"

#include <windows.h>

#include <optional>
#include <string>

#include "platform/profile_text.hpp"
#include "platform/win32/error_text.hpp"

// windows.h names one of its own functions so; here the name is the panel's.
#undef WriteProfileString

namespace platform {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Others may read and write a held copy (the system's writer edits it by
// name), never delete or rename it.
constexpr DWORD kShareHeld = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr const char* kTemporaryMark = "k16tmp-";
constexpr std::size_t kTemporarySuffix = 6;
// A sweep of another writer may remove a copy in the instant between its
// release and its move; the write then starts again, a few times at most.
constexpr int kReplaceAttempts = 8;
// What the replacement takes over from the file it replaces.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::string Reason(const std::string& what) { return what + ": " + LastErrorText(); }

// Closes a handle when it goes out of scope.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (Valid()) CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    // Closes the handle held so far, and holds HANDLE instead.
    void Reset(HANDLE handle = INVALID_HANDLE_VALUE) {
        if (Valid()) CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_;
};

// The folder part of PATH with its separator (".\" for ".\KORVANE16.ini"), and
// the name after it.
std::string FolderOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? "" : path.substr(0, separator + 1);
}

std::string NameOf(const std::string& path) { return path.substr(FolderOf(path).size()); }

std::string TemporaryStem(const std::string& path) {
    return FolderOf(path) + "." + NameOf(path) + "." + kTemporaryMark;
}

bool IsTemporarySuffix(const std::string& suffix) {
    if (suffix.size() != kTemporarySuffix) return false;
    for (const char c : suffix)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
    return true;
}

// The size of FILE, or nullopt with the reason when it is above the bound.
std::optional<std::size_t> CheckedSize(HANDLE file, std::string& problem) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        problem = Reason("cannot read it");
        return std::nullopt;
    }
    if (size.QuadPart > kMaxProfileFileBytes) {
        problem = "it is larger than " + std::to_string(kMaxProfileFileBytes) + " bytes";
        return std::nullopt;
    }
    return static_cast<std::size_t>(size.QuadPart);
}

std::optional<std::string> ReadAll(HANDLE file, std::string& problem) {
    const std::optional<std::size_t> size = CheckedSize(file, problem);
    if (!size) return std::nullopt;
    std::string bytes(*size, '\0');
    DWORD got = 0;
    if (!bytes.empty() && (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
                           got != bytes.size())) {
        problem = Reason("cannot read it");
        return std::nullopt;
    }
    return bytes;
}

struct FileContents {
    bool exists = false;
    std::string bytes;
    DWORD attributes = 0;
};

// The one place the file is examined and read. Nothing when it does not
// exist; nullopt, with the reason in PROBLEM, when it exists but is no plain
// file within the size bound, or this process may not read it (or, FOR_WRITING,
// write it). The bytes are read only for writing.
std::optional<FileContents> ReadOriginal(const std::string& path, bool forWriting, std::string& problem) {
    FileContents contents;
    contents.attributes = GetFileAttributesA(path.c_str());
    if (contents.attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return contents;
        problem = Reason("cannot examine it");
        return std::nullopt;
    }
    if ((contents.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        problem = "it is a folder, not a file";
        return std::nullopt;
    }
    const DWORD access = GENERIC_READ | (forWriting ? GENERIC_WRITE : 0);
    const Handle file(CreateFileA(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (!file.Valid()) {
        problem = Reason(forWriting ? "cannot write it" : "cannot read it");
        return std::nullopt;
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        problem = "it is not a regular file";
        return std::nullopt;
    }
    contents.exists = true;
    if (!forWriting) return CheckedSize(file.get(), problem) ? std::optional(contents) : std::nullopt;
    std::optional<std::string> bytes = ReadAll(file.get(), problem);
    if (!bytes) return std::nullopt;
    contents.bytes = std::move(*bytes);
    return contents;
}

// A copy of the file beside it, created new and held open by this process
// (see the top of this file) until just before its move.
struct HeldTemporary {
    std::string name;
    Handle file{INVALID_HANDLE_VALUE};

    // Lets go of the copy and removes it: the write it was made for failed.
    void Remove() {
        file.Reset();
        DeleteFileA(name.c_str());
    }
};

// A temporary file beside PATH holding BYTES, under a name no other file has;
// false with the reason when it cannot be made.
bool CreateTemporary(const std::string& path, const std::string& bytes, HeldTemporary& temporary,
                     std::string& problem) {
    static unsigned counter = 0;
    constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned long long seed = GetTickCount64() * 1000003ull + GetCurrentProcessId() * 7919ull + ++counter;
        std::string suffix;
        for (std::size_t i = 0; i < kTemporarySuffix; ++i, seed /= 62) suffix += kDigits[seed % 62];
        temporary.name = TemporaryStem(path) + suffix;
        temporary.file.Reset(CreateFileA(temporary.name.c_str(), GENERIC_READ | GENERIC_WRITE, kShareHeld, nullptr,
                                         CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!temporary.file.Valid()) {
            if (GetLastError() == ERROR_FILE_EXISTS) continue;
            problem = Reason("cannot create a new file beside it");
            return false;
        }
        DWORD written = 0;
        if (!bytes.empty() && (!WriteFile(temporary.file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                          &written, nullptr) ||
                               written != bytes.size())) {
            problem = Reason("cannot write the new file");
            temporary.Remove();
            return false;
        }
        return true;
    }
    problem = "cannot find a free name for a new file beside it";
    return false;
}

// The copy's new bytes, flushed to the disk; nullopt with the reason when that fails.
std::optional<std::string> FlushedBytes(HANDLE file, std::string& problem) {
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
        problem = Reason("cannot read the new file");
        return std::nullopt;
    }
    std::optional<std::string> bytes = ReadAll(file, problem);
    if (bytes && !FlushFileBuffers(file)) {
        problem = Reason("cannot flush the new file to the disk");
        return std::nullopt;
    }
    return bytes;
}

enum class Replaced { Yes, No, CopyTaken };

// The edit made on a copy and moved over the file. CopyTaken when another
// writer's sweep removed the copy after its release, before the move.
Replaced ReplaceThroughCopy(const std::string& path, const FileContents& old, const char* section, const char* key,
                            const char* value, std::string& problem) {
    HeldTemporary temporary;
    if (!CreateTemporary(path, old.bytes, temporary, problem)) return Replaced::No;
    bool ok = WritePrivateProfileStringA(section, key, value, temporary.name.c_str()) != FALSE;
    if (!ok) problem = Reason("cannot write the new file");
    const std::optional<std::string> bytes = ok ? FlushedBytes(temporary.file.get(), problem) : std::nullopt;
    ok = ok && bytes.has_value();
    if (ok && old.exists && *bytes == old.bytes) {
        temporary.Remove();  // the key already held the value: the file stays untouched
        return Replaced::Yes;
    }
    if (ok && old.exists && !SetFileAttributesA(temporary.name.c_str(), old.attributes & kKeptAttributes)) {
        problem = Reason("cannot give the new file the attributes of the old");
        ok = false;
    }
    if (!ok) {
        temporary.Remove();
        return Replaced::No;
    }
    // The move needs the copy open for deletion, which the held handle denies.
    temporary.file.Reset();
    if (MoveFileExA(temporary.name.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Replaced::Yes;
    problem = Reason("cannot replace it");
    if (GetFileAttributesA(temporary.name.c_str()) == INVALID_FILE_ATTRIBUTES &&
        GetLastError() == ERROR_FILE_NOT_FOUND)
        return Replaced::CopyTaken;
    temporary.Remove();
    return Replaced::No;
}

}  // namespace

std::int32_t ReadProfileInt(const char* section, const char* key, std::int32_t defaultValue, const char* file,
                            std::string* problem) {
    std::string why;
    std::int32_t result = defaultValue;
    // The value comes back as an unsigned 32-bit integer; its bits are the signed one.
    if (file != nullptr && ReadOriginal(file, false, why))
        result = static_cast<std::int32_t>(GetPrivateProfileIntA(section, key, defaultValue, file));
    if (problem != nullptr) *problem = why;
    return result;
}

bool WriteProfileString(const char* section, const char* key, const char* value, const char* file,
                        std::string* problem) {
    std::string why;
    bool written = false;
    if (section == nullptr || key == nullptr || value == nullptr || file == nullptr) {
        why = "nothing to write";
    } else if (const std::optional<FileContents> old = ReadOriginal(file, true, why)) {
        // A file that cannot be read is never replaced: its settings would be lost.
        if (old->exists && !profile::SetValue(old->bytes, section, key, value)) {
            // The key holds the value already, by the text rules the system's
            // reader keeps too: no copy, no flush, the file stays untouched.
            written = true;
        } else {
            RemoveStaleTemporaries(file);
            Replaced replaced = Replaced::CopyTaken;
            for (int attempt = 0; attempt < kReplaceAttempts && replaced == Replaced::CopyTaken; ++attempt)
                replaced = ReplaceThroughCopy(file, *old, section, key, value, why);
            written = replaced == Replaced::Yes;
        }
    }
    if (problem != nullptr) *problem = written ? std::string() : why;
    return written;
}

// What the system keeps of a file it read goes with its documented flush: all
// three names empty.
void ForgetProfileCopies() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, nullptr); }

void RemoveStaleTemporaries(const char* file) {
    const std::string stem = TemporaryStem(file);
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((stem + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    const std::string namePrefix = stem.substr(FolderOf(file).size());
    constexpr DWORD kNotAFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    do {
        const std::string name = found.cFileName;
        if (name.size() <= namePrefix.size() || name.compare(0, namePrefix.size(), namePrefix) != 0 ||
            !IsTemporarySuffix(name.substr(namePrefix.size())) || (found.dwFileAttributes & kNotAFile) != 0)
            continue;
        // Opened for deletion with no sharing: this fails while a live writer
        // holds the copy, and once open here no writer can take it up again.
        // Closing the handle removes the copy.
        const Handle copy(CreateFileA((FolderOf(file) + name).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace platform
