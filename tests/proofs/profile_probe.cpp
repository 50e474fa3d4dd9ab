// profile_probe: reads and writes settings-file keys in bulk, so one run of
// each platform's build can work through thousands of generated files and the
// results can be compared.
//
//   profile_probe generate SEED FILES FOLDER   writes FILES generated settings
//                                             files into FOLDER, the keys to read
//                                             (queries.txt) and edits (edits.txt)
//   profile_probe read QUERIES                 for each query, the integer read,
//                                             one line each
//   profile_probe write EDITS                  makes each edit, in order, through
//                                             the panel's own settings writer
//   profile_probe write-system EDITS           the same through the system's own
//                                             WritePrivateProfileStringA (Windows)
//   profile_probe hold FILE SHARED             opens FILE as a live writer holds its
//                                             copy (no sharing for deletion) and
//                                             SHARED as a reader may (all sharing),
//                                             says "held" and keeps both open until
//                                             its standard input ends (Windows)
//
// A line of QUERIES or EDITS is FILE, SECTION, KEY and the default or the new
// value, separated by tabs; FILE is named as the panel names its file
// (".\name.ini"), relative to the working folder. The panel's profile layer
// reads through the system's integer read on Windows, its own reader elsewhere.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "platform/profile_file.hpp"
#include "tests/proofs/profile_cases.hpp"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// windows.h names one of its own functions so; here the name is the panel's.
#undef WriteProfileString
#endif

namespace {

using Action = bool (*)(const ProfileQuery& query, std::string& output);

bool Read(const ProfileQuery& query, std::string& output) {
    const std::int32_t value = platform::ReadProfileInt(query.section.c_str(), query.key.c_str(),
                                                        std::atoi(query.value.c_str()), query.file.c_str());
    output += std::to_string(value) + '\n';
    return true;
}

bool Write(const ProfileQuery& query, std::string&) {
    std::string problem;
    if (platform::WriteProfileString(query.section.c_str(), query.key.c_str(), query.value.c_str(),
                                     query.file.c_str(), &problem))
        return true;
    std::cerr << "profile_probe: cannot write " << query.file << ": " << problem << '\n';
    return false;
}

#if defined(_WIN32)
bool WriteThroughSystem(const ProfileQuery& query, std::string&) {
    return WritePrivateProfileStringA(query.section.c_str(), query.key.c_str(), query.value.c_str(),
                                      query.file.c_str()) != FALSE;
}

int Hold(const char* file, const char* shared) {
    constexpr DWORD kAccess = GENERIC_READ | GENERIC_WRITE;
    const HANDLE held = CreateFileA(file, kAccess, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    const HANDLE open = CreateFileA(shared, kAccess, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE || open == INVALID_HANDLE_VALUE) return 1;
    std::puts("held");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;  // the handles close as the process ends
}
#endif

int ForEachLine(const char* path, Action action) {
    std::ifstream lines(path, std::ios::binary);
    if (!lines) {
        std::cerr << "profile_probe: cannot read " << path << '\n';
        return 2;
    }
    std::string output;
    for (std::string line; std::getline(lines, line);) {
        const std::optional<ProfileQuery> query = ParseQuery(line);
        if (!query) {
            std::cerr << "profile_probe: bad line: " << line << '\n';
            return 2;
        }
        if (!action(*query, output)) return 1;
    }
    std::fwrite(output.data(), 1, output.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "read" && argc == 3) return ForEachLine(argv[2], Read);
    if (mode == "write" && argc == 3) return ForEachLine(argv[2], Write);
#if defined(_WIN32)
    if (mode == "write-system" && argc == 3) return ForEachLine(argv[2], WriteThroughSystem);
    if (mode == "hold" && argc == 4) return Hold(argv[2], argv[3]);
#endif
    if (mode == "generate" && argc == 5) {
        const unsigned long seed = std::strtoul(argv[2], nullptr, 10);
        const int files = std::atoi(argv[3]);
        return GenerateProfileCases(static_cast<std::uint32_t>(seed), files, argv[4]) ? 0 : 1;
    }
    std::cerr << "usage: profile_probe generate SEED FILES FOLDER | read QUERIES | write EDITS"
#if defined(_WIN32)
                 " | write-system EDITS | hold FILE SHARED"
#endif
                 "\n";
    return 2;
}
