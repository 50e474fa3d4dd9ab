// profile_probe: reads settings-file keys in bulk, so one run of each platform's
// build can read thousands of generated files and the results can be compared.
//
//   profile_probe generate SEED FILES FOLDER   writes FILES generated settings
//                                             files into FOLDER and the queries
//                                             to ask of them, FOLDER/queries.txt
//   profile_probe read QUERIES                 for each query line, the integer
//                                             read, one line each
//
// A query line is FILE, SECTION, KEY and DEFAULT separated by tabs; FILE is
// named as the panel names its file (".\name.ini"), relative to the working
// folder. The reading goes through the platform's profile-file layer: the
// system's own integer read on Windows, the panel's reader elsewhere.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "platform/profile_file.hpp"
#include "tests/proofs/profile_cases.hpp"

namespace {

int Read(const char* queriesPath) {
    std::ifstream queries(queriesPath, std::ios::binary);
    if (!queries) {
        std::cerr << "profile_probe: cannot read " << queriesPath << '\n';
        return 2;
    }
    std::string output;
    for (std::string line; std::getline(queries, line);) {
        const std::optional<ProfileQuery> query = ParseQuery(line);
        if (!query) {
            std::cerr << "profile_probe: bad query line: " << line << '\n';
            return 2;
        }
        const std::int32_t value = platform::ReadProfileInt(query->section.c_str(), query->key.c_str(),
                                                            query->defaultValue, query->file.c_str());
        output += std::to_string(value) + '\n';
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
    if (mode == "read" && argc == 3) return Read(argv[2]);
    if (mode == "generate" && argc == 5) {
        const unsigned long seed = std::strtoul(argv[2], nullptr, 10);
        const int files = std::atoi(argv[3]);
        return GenerateProfileCases(static_cast<std::uint32_t>(seed), files, argv[4]) ? 0 : 1;
    }
    std::cerr << "usage: profile_probe generate SEED FILES FOLDER | profile_probe read QUERIES\n";
    return 2;
}
