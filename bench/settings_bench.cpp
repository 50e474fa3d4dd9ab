// What the settings file costs the operator: the 99 reads at start and the 99
// writes at close, each one a whole-file read (and, for a changed value, an
// atomic replace), against the same edits done in memory only.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/profile_text.hpp"
#include "settings/panel_state.hpp"
#include "settings/settings_file.hpp"

namespace fs = std::filesystem;

namespace {

// Runs the benchmark in a working folder of its own, as the panel runs.
class WorkingFolder {
public:
    WorkingFolder() {
        std::string pattern = (fs::temp_directory_path() / "korvane16-bench-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        previous_ = fs::current_path();
        fs::current_path(folder_);
    }
    ~WorkingFolder() {
        fs::current_path(previous_);
        fs::remove_all(folder_);
    }

private:
    fs::path folder_, previous_;
};

void FillState(int seed) {
    panelState.videoStandard = seed & 1;
    panelState.layoutCode = 16;
    for (int ch = 0; ch < kChannelCount; ++ch) {
        panelState.cameraEnable[ch] = (ch + seed) & 1;
        panelState.attributes[ch] = {seed + ch, 180, 128, 128};
        panelState.positionMap[ch] = ch;
    }
}

void BM_CloseWritesAllSettings(benchmark::State& state) {
    WorkingFolder folder;
    int seed = 0;
    for (auto _ : state) {
        FillState(++seed);  // new values: every changed key is a file replace
        SavePanelState(true);
    }
}
BENCHMARK(BM_CloseWritesAllSettings)->Unit(benchmark::kMillisecond);

void BM_CloseWritesUnchangedSettings(benchmark::State& state) {
    WorkingFolder folder;
    FillState(1);
    SavePanelState(true);
    for (auto _ : state) SavePanelState(true);  // every key already holds its value
}
BENCHMARK(BM_CloseWritesUnchangedSettings)->Unit(benchmark::kMillisecond);

void BM_StartUpReadsAllSettings(benchmark::State& state) {
    WorkingFolder folder;
    FillState(1);
    SavePanelState(true);
    for (auto _ : state) {
        ReadLayoutCode();
        ReadVideoStandard();
        ReadCameraEnables();
        ReadAttributes();
        ReadPositions();
        benchmark::DoNotOptimize(panelState);
    }
}
BENCHMARK(BM_StartUpReadsAllSettings)->Unit(benchmark::kMillisecond);

// The same 99 edits as a close, on the text in memory: the floor the file
// layer is measured against.
void BM_CloseEditsInMemoryOnly(benchmark::State& state) {
    WorkingFolder folder;
    FillState(1);
    SavePanelState(true);
    std::ostringstream file;
    file << std::ifstream("KORVANE16.ini").rdbuf();
    const std::string original = file.str();
    int seed = 0;
    for (auto _ : state) {
        std::string text = original;
        ++seed;
        for (int ch = 1; ch <= 16; ++ch) {
            const std::string section = "Attribute" + std::to_string(ch);
            for (const char* key : {"Brightness", "Contrast", "HUE", "Saturation"})
                if (auto edited = profile::SetValue(text, section, key, std::to_string(seed + ch))) text = *edited;
        }
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_CloseEditsInMemoryOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
