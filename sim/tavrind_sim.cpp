// The stand-in board driver: exports every entry point of the board's driver
// library and, when TAVRIND_JOURNAL names a file, appends one line per call to
// it, so the board's view of the panel can be read and compared. Every call
// also goes to the virtual board, which keeps the board's state from the calls
// and draws its TV picture.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>

#include "driver/driver_call.hpp"
#include "driver/tile_spec.hpp"
#include "sim/virtual_board.hpp"

#if defined(_WIN32) && defined(TAVRIND_EXPORTS_BY_DEF)
#define TAVRIND_EXPORT extern "C"  // the module-definition file says what is exported
#elif defined(_WIN32)
#define TAVRIND_EXPORT extern "C" __declspec(dllexport)
#else
#define TAVRIND_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

const char* JournalPath() {
    const char* path = std::getenv("TAVRIND_JOURNAL");
    return path != nullptr && *path != '\0' ? path : nullptr;
}

// Opened for each line and closed again, so every line is on disk at once,
// whatever happens to the process afterwards.
void AppendToJournal(const std::string& line) {
    const char* path = JournalPath();
    if (path == nullptr) return;
    if (std::FILE* journal = std::fopen(path, "ab")) {
        std::fputs((line + '\n').c_str(), journal);
        std::fclose(journal);
    }
}

void AppendArgument(std::string& line, std::int32_t value) { line += ' ' + std::to_string(value); }

// A layout table: its records up to and including the first end mark.
void AppendArgument(std::string& line, const TileSpec* table) {
    for (int i = 0; i < sim::kMostRecords; ++i) {
        const TileSpec& r = table[i];
        line += ' ' + std::to_string(r.channel) + ':' + std::to_string(r.scale) + ':' + std::to_string(r.x) + ':' +
                std::to_string(r.y) + ':' + std::to_string(r.width) + ':' + std::to_string(r.height);
        if (r.channel == kEndMark) break;
    }
}

template <typename... Arguments>
void JournalCall(const char* name, const std::tuple<Arguments...>& arguments) {
    if (JournalPath() == nullptr) return;  // no line to make
    std::string line = name;
    std::apply([&line](const auto&... argument) { (AppendArgument(line, argument), ...); }, arguments);
    AppendToJournal(line);
}

// Marks the span in which the library is loaded.
struct LoadedSpan {
    LoadedSpan() { AppendToJournal("load"); }
    ~LoadedSpan() { AppendToJournal("unload"); }
} loadedSpan;

// Made after the span opens and gone before it closes.
sim::VirtualBoard virtualBoard;

}  // namespace

#define KORVANE16_DRIVER_ENTRY(name, params, args)                       \
    TAVRIND_EXPORT std::int32_t KORVANE16_DRIVER_CALL name params {       \
        const auto arguments = std::make_tuple args;                    \
        JournalCall(#name, arguments);                                  \
        virtualBoard.Receive(sim::Entry::name, arguments);            \
        return 0;                                                       \
    }
#include "driver/driver_entries.inc"
#undef KORVANE16_DRIVER_ENTRY
