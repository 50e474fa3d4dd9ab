// What the virtual board costs: drawing one monitor frame (the monitor's work
// per frame), the stand-in's work per driver call (inside the panel's
// process), and a whole panel session with and without a monitor watching.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/driver_call.hpp"
#include "layout/layout_specs.hpp"
#include "sim/picture_renderer.hpp"

extern char** environ;

namespace fs = std::filesystem;

namespace {

// A private folder, made the runtime folder, so the board benchmarked is the
// benchmark's own.
class PrivateRuntime {
public:
    PrivateRuntime() {
        std::string pattern = (fs::temp_directory_path() / "korvane16-bench-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
    }
    ~PrivateRuntime() { fs::remove_all(folder_); }
    const fs::path& Folder() const { return folder_; }

private:
    fs::path folder_;
};

TileSpec Record(std::uint8_t channel, const TileGeometry& g) { return {channel, {}, g.scale, g.x, g.y, g.width, g.height}; }

std::vector<TileSpec> Layout16() {
    std::vector<TileSpec> table;
    for (int tile = 0; tile < 16; ++tile)
        table.push_back(Record(static_cast<std::uint8_t>(tile), FindLayout(16)->tiles[static_cast<std::size_t>(tile)]));
    table.push_back({kEndMark, {}, 3, 0, 0, 0, 0});
    return table;
}

// The 16-tile layout on STANDARD, every camera decoded with the panel's
// defaults or (ADJUSTED) with attributes of its own.
sim::BoardState Board16(std::int32_t standard, bool adjusted) {
    sim::BoardState s{};
    s.setUp = s.running = 1;
    s.standard = standard;
    for (int ch = 0; ch < 16; ++ch)
        s.channels[ch] = adjusted ? sim::ChannelSettings{1, 90 + ch, 170 + ch, 120 + ch, 140, 130} : sim::kChannelDefaults;
    const std::vector<TileSpec> table = Layout16();
    std::copy(table.begin(), table.end() - 1, s.tiles);
    s.tileCount = 16;
    return s;
}

void BM_RenderFrame(benchmark::State& state) {
    const sim::BoardState board = Board16(static_cast<std::int32_t>(state.range(0)), state.range(1) != 0);
    sim::Picture picture;
    std::int64_t timeMs = 0;
    for (auto _ : state) {
        sim::RenderPicture(board, timeMs += 33, picture);
        benchmark::DoNotOptimize(picture.bytes.data());
    }
    state.SetLabel(std::string(state.range(0) ? "PAL" : "NTSC") + (state.range(1) ? ", every channel adjusted" : ", defaults"));
}
BENCHMARK(BM_RenderFrame)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_RenderFullScreenCamera(benchmark::State& state) {
    sim::BoardState board = Board16(sim::kNtsc, false);
    board.tiles[0] = Record(static_cast<std::uint8_t>(state.range(0)), FindLayout(1)->tiles[0]);
    board.tileCount = 1;
    sim::Picture picture;
    std::int64_t timeMs = 0;
    for (auto _ : state) {
        sim::RenderPicture(board, timeMs += 33, picture);
        benchmark::DoNotOptimize(picture.bytes.data());
    }
    state.SetLabel("camera " + std::to_string(state.range(0) + 1));
}
BENCHMARK(BM_RenderFullScreenCamera)->DenseRange(0, 15)->Unit(benchmark::kMillisecond);

// The stand-in loaded as the panel loads it, set up and running.
class LoadedStandIn {
public:
    LoadedStandIn() {
        library_ = dlopen(KORVANE16_STAND_IN, RTLD_NOW | RTLD_LOCAL);
        if (library_ == nullptr) return;
        using SetUp = std::int32_t KORVANE16_DRIVER_CALL(std::int32_t);
        using Run = std::int32_t KORVANE16_DRIVER_CALL();
        Find<SetUp>("OvrSetup")(0);
        Find<Run>("OvrRun")();
    }
    ~LoadedStandIn() {
        if (library_ != nullptr) dlclose(library_);
    }
    bool Loaded() const { return library_ != nullptr; }

    template <typename Entry>
    Entry* Find(const char* name) const {
        return reinterpret_cast<Entry*>(dlsym(library_, name));
    }

private:
    void* library_ = nullptr;
};

void StandInCall(benchmark::State& state, bool journal) {
    PrivateRuntime runtime;
    if (journal) setenv("TAVRIND_JOURNAL", (runtime.Folder() / "journal.txt").c_str(), 1);
    {
        LoadedStandIn standIn;
        if (!standIn.Loaded()) {
            state.SkipWithError(dlerror());
            return;
        }
        using Entry = std::int32_t KORVANE16_DRIVER_CALL(std::int32_t, std::int32_t);
        Entry* setBrightness = standIn.Find<Entry>("OvrSetBrightness");
        std::int32_t value = 0;
        for (auto _ : state) {
            setBrightness(value & 15, value & 255);
            ++value;
        }
    }
    unsetenv("TAVRIND_JOURNAL");
}
void BM_StandInAttributeCall(benchmark::State& state) { StandInCall(state, false); }
void BM_StandInAttributeCallJournaled(benchmark::State& state) { StandInCall(state, true); }
BENCHMARK(BM_StandInAttributeCall)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StandInAttributeCallJournaled)->Unit(benchmark::kMicrosecond);

void BM_StandInLayoutCall(benchmark::State& state) {
    PrivateRuntime runtime;
    LoadedStandIn standIn;
    if (!standIn.Loaded()) {
        state.SkipWithError(dlerror());
        return;
    }
    using Entry = std::int32_t KORVANE16_DRIVER_CALL(const TileSpec*);
    Entry* send = standIn.Find<Entry>("OvrSetDisplayFormatForTV");
    const std::vector<TileSpec> table = Layout16();
    for (auto _ : state) send(table.data());
}
BENCHMARK(BM_StandInLayoutCall)->Unit(benchmark::kMicrosecond);

#if defined(KORVANE16_MONITOR)
pid_t Spawn(const std::vector<std::string>& words, const fs::path& folder, bool quiet) {
    std::vector<char*> argv;
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (quiet) posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const std::string previous = fs::current_path();
    fs::current_path(folder);
    pid_t child = -1;
    posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    fs::current_path(previous);
    posix_spawn_file_actions_destroy(&actions);
    return child;
}

// A whole panel session on the harness (start-up, then the close with its
// save), with and without korvane16-monitor drawing the board meanwhile.
void BM_PanelSession(benchmark::State& state) {
    PrivateRuntime runtime;
    const fs::path script = runtime.Folder() / "show.txt";
    std::FILE* file = std::fopen(script.c_str(), "w");
    std::fputs("show\n", file);
    std::fclose(file);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const pid_t monitor = state.range(0) ? Spawn({KORVANE16_MONITOR}, runtime.Folder(), true) : -1;
    usleep(300000);  // let the monitor settle into its frames
    const auto session = [&runtime, &script] {
        const pid_t panel = Spawn({KORVANE16_HARNESS, script.string()}, runtime.Folder(), true);
        waitpid(panel, nullptr, 0);
    };
    // Untimed: the first session creates the settings file, 99 keys each
    // replaced durably, which dwarfs the session itself; every later one
    // starts on the file as a panel usually finds it.
    session();
    for (auto _ : state) session();
    if (monitor > 0) {
        kill(monitor, SIGTERM);
        waitpid(monitor, nullptr, 0);
    }
    state.SetLabel(state.range(0) ? "monitor open" : "no monitor");
}
BENCHMARK(BM_PanelSession)->Arg(0)->Arg(1)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

}  // namespace

BENCHMARK_MAIN();
