// Private-profile (INI) file access, with the observable behaviour of the
// Windows functions GetPrivateProfileIntA and WritePrivateProfileStringA, and
// writes that replace the file atomically and durably.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The largest settings file read, far above any real one (99 keys take under
// 3 KB, and files of 10 MB with lines of other programs are still read at the
// speed of the disk): a larger file counts as unreadable instead of filling
// the memory.
inline constexpr std::int64_t kMaxProfileFileBytes = std::int64_t{64} << 20;

// The integer value of KEY in SECTION of FILE, or DEFAULT for a missing file,
// section or key, or an empty value. A file that exists but cannot be read (not
// a regular file, too large, no permission) also gives DEFAULT, and PROBLEM,
// when given, is set to the reason; it is cleared otherwise.
std::int32_t ReadProfileInt(const char* section, const char* key, std::int32_t defaultValue, const char* file,
                            std::string* problem = nullptr);

// Sets KEY in SECTION of FILE to VALUE, creating the file, section and key as
// needed. Every other byte of the file stays as it was, and the file is replaced
// atomically, keeping its permissions and owner. Returns false, with the reason
// in PROBLEM when given, when the file could not be written; a file that cannot
// be read, or that this process may not write, is never replaced.
bool WriteProfileString(const char* section, const char* key, const char* value, const char* file,
                        std::string* problem = nullptr);

// Removes the temporary files that interrupted writes left beside FILE: those
// of writers that are gone, never one a live writer holds (whatever lock that
// writer takes around its accesses).
void RemoveStaleTemporaries(const char* file);

// Drops what this process keeps of the files it read or wrote, as at its
// start: the next access reads its file anew.
void ForgetProfileCopies();

}  // namespace platform
