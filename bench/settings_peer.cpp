// The settings-file figures of the Windows build, a timed tool (the benchmark
// library is not built for Windows): the same start-up and closes as the
// Linux benchmark, through the system's own private-profile functions, each
// beside its floor measured in the same run, iteration by iteration in turn:
//   - the start-up's 99 reads      / 99 whole-file reads of the same file;
//   - a close changing k values    / k crash-safe replaces (write, flush,
//                                    move with write-through);
//   - a close changing nothing     / the start-up's reads.
// Usage: korvane16-settings-peer [SECONDS [LARGEST]]: each figure runs until
// the figure and its floor have taken SECONDS together (default 0.5), at least
// once; files of other programs' lines up to LARGEST bytes (default 10 MB).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench/settings_scenario.hpp"
#include "platform/profile_file.hpp"

namespace {

constexpr const char* kFile = "KORVANE16.ini";
constexpr const char* kFloorFile = "floor.ini";

double Seconds(const std::function<void()>& work) {
    static const double frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER start{}, end{};
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) / frequency;
}

void WriteWhole(const char* file, const std::string& text, bool flush) {
    const HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    if (flush) FlushFileBuffers(h);
    CloseHandle(h);
}

// Writes a file written before the panel started: its time stamps are old.
void WriteAged(const char* file, const std::string& text) {
    WriteWhole(file, text, false);
    Sleep(50);
}

void ReadWhole(const char* file, std::string& buffer) {
    const HANDLE h = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size{};
    GetFileSizeEx(h, &size);
    buffer.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    ReadFile(h, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr);
    CloseHandle(h);
}

// One replace as the panel's must be to be crash-safe: a new file beside it,
// flushed, moved over it with write-through.
void Replace(const char* file, const std::string& text) {
    const std::string temporary = std::string(".") + file + ".new";
    WriteWhole(temporary.c_str(), text, true);
    MoveFileExA(temporary.c_str(), file, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

struct Row {
    std::string figure, size;
    double figureMs, floorMs;
};

std::vector<Row> rows;
double budget = 0.5;

// Runs FIGURE and FLOOR in turn until they have taken the budget together.
void Measure(const std::string& figure, const std::string& size, const std::function<void()>& prepare,
             const std::function<void()>& measured, const std::function<void()>& floor) {
    double figureTotal = 0, floorTotal = 0;
    int iterations = 0;
    do {
        prepare();
        figureTotal += Seconds(measured);
        floorTotal += Seconds(floor);
        ++iterations;
    } while (figureTotal + floorTotal < budget);
    rows.push_back({figure, size, figureTotal * 1000 / iterations, floorTotal * 1000 / iterations});
    std::printf("%-45s %6s %10.3f ms  floor %10.3f ms  ratio %5.2f  (%d iterations)\n", figure.c_str(), size.c_str(),
                rows.back().figureMs, rows.back().floorMs, rows.back().figureMs / rows.back().floorMs, iterations);
    std::fflush(stdout);
}

void MeasureSize(std::size_t foreign, const std::string& size) {
    const bench::Values start = bench::StartValues();
    const std::string text = bench::SettingsFileText(foreign, start);
    std::string buffer;
    WriteAged(kFile, text);
    WriteAged(kFloorFile, text);
    Measure(
        "start-up reads (99) vs 99 whole-file reads", size, [] { platform::ForgetProfileCopies(); },
        [] { bench::StartUpReads(); },
        [&] {
            for (int i = 0; i < bench::kKeyCount; ++i) ReadWhole(kFile, buffer);
        });
    for (const int k : {1, 3, 99}) {
        const bench::Values changed = bench::ChangedValues(start, k);
        bool toChanged = true;
        bench::Close(start);
        Measure(
            "close changing " + std::to_string(k) + " vs " + std::to_string(k) + " crash-safe replaces", size, [] {},
            [&] {
                bench::Close(toChanged ? changed : start);
                toChanged = !toChanged;
            },
            [&] {
                for (int i = 0; i < k; ++i) Replace(kFloorFile, text);
            });
    }
    bench::Close(start);
    Measure(
        "close changing nothing vs start-up reads", size, [] {}, [&] { bench::Close(start); },
        [] {
            platform::ForgetProfileCopies();
            bench::StartUpReads();
        });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) budget = std::atof(argv[1]);
    const std::size_t largest = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : std::size_t{10} << 20;
    // A working folder of its own, as the panel runs in its working folder.
    char folder[MAX_PATH];
    std::snprintf(folder, sizeof folder, "korvane16-peer-%lu", GetCurrentProcessId());
    CreateDirectoryA(folder, nullptr);
    SetCurrentDirectoryA(folder);
    const std::pair<std::size_t, const char*> sizes[] = {
        {1 << 10, "1KB"}, {100 << 10, "100KB"}, {1 << 20, "1MB"}, {10 << 20, "10MB"}};
    for (const auto& [bytes, label] : sizes)
        if (bytes <= largest) MeasureSize(bytes, label);
    std::printf("\n| figure | file | figure ms | floor ms | ratio |\n|---|---|---|---|---|\n");
    for (const Row& row : rows)
        std::printf("| %s | %s | %.3f | %.3f | %.2f |\n", row.figure.c_str(), row.size.c_str(), row.figureMs, row.floorMs,
                    row.figureMs / row.floorMs);
    for (const char* file : {kFile, kFloorFile}) DeleteFileA(file);
    SetCurrentDirectoryA("..");
    RemoveDirectoryA(folder);
    return 0;
}
