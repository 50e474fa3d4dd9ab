// What the settings file costs the operator, each figure beside its floor (the
// least the same work can cost on this disk, measured in the same run,
// iteration by iteration in turn with the figure) and the ratio of the two:
//   - the start-up's 99 reads        / 99 whole-file reads of the same file;
//   - a close changing k values      / k crash-safe replaces of a file of that
//                                      size (write, flush, rename, folder flush);
//   - a close changing nothing       / the start-up's reads;
//   - what the flushes of one replace cost;
//   - a harness session, show + close / starting a process and two crash-safe
//                                      replaces (the show-panel flag's two writes);
// on files of 1 KB, 100 KB, 1 MB and 10 MB of other programs' lines around the
// panel's sections. The program runs on a settings lock folder of its own, so
// no other process of the user can hold it up. At the end it prints the table
// of every figure, floor and ratio.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bench/settings_scenario.hpp"
#include "platform/profile_file.hpp"
#include "tests/file_text.hpp"

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr const char* kFile = "KORVANE16.ini";
constexpr const char* kFloorFile = "floor.ini";  // the floors' file: the panel's copy of its own stays valid
constexpr const char* kPrivateRuntime = "KORVANE16_BENCH_RUNTIME";

using Clock = std::chrono::steady_clock;

double Seconds(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A working folder of the benchmark's own, made the current one, as the panel
// runs in its working folder.
class WorkingFolder {
public:
    WorkingFolder() {
        std::string pattern = (fs::temp_directory_path() / "korvane16-bench-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        previous_ = fs::current_path();
        fs::current_path(folder_);
        platform::ForgetProfileCopies();
    }
    ~WorkingFolder() {
        platform::ForgetProfileCopies();
        fs::current_path(previous_);
        fs::remove_all(folder_);
    }
    const fs::path& Path() const { return folder_; }

private:
    fs::path folder_, previous_;
};

// Writes TEXT as FILE and lets its stamps age past the file clock's tick, as
// a file written before the panel started has.
void WriteAged(const char* file, const std::string& text) {
    WriteFileText(file, text);
    usleep(50000);
}

// The least a whole-file read costs: open, read all of it into a buffer that
// is already large enough, close.
void ReadWhole(const char* file, std::string& buffer) {
    const int fd = open(file, O_RDONLY | O_CLOEXEC);
    struct stat info {};
    fstat(fd, &info);
    buffer.resize(static_cast<std::size_t>(info.st_size));
    std::size_t got = 0;
    while (got < buffer.size()) {
        const ssize_t count = read(fd, buffer.data() + got, buffer.size() - got);
        if (count <= 0) break;
        got += static_cast<std::size_t>(count);
    }
    close(fd);
    benchmark::DoNotOptimize(buffer.data());
}

// One replace of FILE by TEXT as the panel must make it to be crash-safe: a
// new file written beside it, flushed, renamed over it, the folder flushed.
// The flushes can be left out, to see what they cost.
void Replace(const char* file, const std::string& text, bool flushFile = true, bool flushFolder = true) {
    const std::string temporary = std::string(".") + file + ".new";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t count = write(fd, text.data() + done, text.size() - done);
        if (count <= 0) break;
        done += static_cast<std::size_t>(count);
    }
    if (flushFile) fsync(fd);
    close(fd);
    rename(temporary.c_str(), file);
    if (flushFolder) {
        const int folder = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        fsync(folder);
        close(folder);
    }
}

// Runs PROGRAM with ARGS in the current folder, standard input from INPUT
// (when given), its output to /dev/null; its exit status.
int RunProgram(const std::string& program, const std::vector<std::string>& args, const char* input = nullptr) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input != nullptr) posix_spawn_file_actions_addopen(&actions, 0, input, O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> all{program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = -1;
    int status = -1;
    if (posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) waitpid(child, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return status;
}

// Sums the figure's and the floor's times over the iterations and reports
// them: the figure as the benchmark's time, the floor and the ratio beside it.
class Pair {
public:
    explicit Pair(benchmark::State& state) : state_(state) {}
    void Figure(const std::function<void()>& work) {
        const double s = Seconds(work);
        figure_ += s;
        state_.SetIterationTime(s);
    }
    void Floor(const std::function<void()>& work) { floor_ += Seconds(work); }
    ~Pair() {
        const double n = static_cast<double>(state_.iterations());
        if (n == 0 || floor_ <= 0) return;
        state_.counters["floor_ms"] = floor_ * 1000 / n;
        state_.counters["ratio"] = figure_ / floor_;
    }

private:
    benchmark::State& state_;
    double figure_ = 0, floor_ = 0;
};

std::size_t Foreign(const benchmark::State& state) { return static_cast<std::size_t>(state.range(0)); }

// The start-up's 99 reads in a fresh process (nothing kept from before)
// against 99 whole-file reads of the same file.
void StartUp(benchmark::State& state) {
    WorkingFolder folder;
    const bench::Values values = bench::StartValues();
    WriteAged(kFile, bench::SettingsFileText(Foreign(state), values));
    std::string buffer;
    Pair pair(state);
    for (auto _ : state) {
        platform::ForgetProfileCopies();
        bench::Values read{};
        pair.Figure([&] { read = bench::StartUpReads(); });
        pair.Floor([&] {
            for (int i = 0; i < bench::kKeyCount; ++i) ReadWhole(kFile, buffer);
        });
        if (read != values) state.SkipWithError("the start-up read other values than the file holds");
    }
    state.counters["file_KB"] = static_cast<double>(fs::file_size(kFile)) / 1024;
}

// A close changing K values of the file (the panel's copy is the file's, as
// after its start-up), against K crash-safe replaces of a file of the same
// size. The closes alternate between two states that differ in K values.
void CloseChanging(benchmark::State& state) {
    const int k = static_cast<int>(state.range(1));
    WorkingFolder folder;
    const bench::Values first = bench::StartValues();
    const bench::Values second = bench::ChangedValues(first, k);
    const std::string firstText = bench::SettingsFileText(Foreign(state), first);
    if (bench::KeysThatDiffer(firstText, bench::SettingsFileText(Foreign(state), second)) != k) {
        state.SkipWithError("the two states do not differ in exactly k values");
        return;
    }
    WriteAged(kFile, firstText);
    WriteAged(kFloorFile, firstText);
    bench::StartUpReads();
    Pair pair(state);
    bool toSecond = true;
    for (auto _ : state) {
        bool saved = false;
        pair.Figure([&] { saved = bench::Close(toSecond ? second : first); });
        pair.Floor([&] {
            for (int i = 0; i < k; ++i) Replace(kFloorFile, firstText);
        });
        if (!saved) state.SkipWithError("the close's save failed");
        toSecond = !toSecond;
    }
}

// A close changing nothing (every key holds its value) against the start-up's reads.
void CloseChangingNothing(benchmark::State& state) {
    WorkingFolder folder;
    const bench::Values values = bench::StartValues();
    WriteAged(kFile, bench::SettingsFileText(Foreign(state), values));
    Pair pair(state);
    for (auto _ : state) {
        platform::ForgetProfileCopies();
        pair.Floor([&] { bench::StartUpReads(); });
        bool saved = false;
        pair.Figure([&] { saved = bench::Close(values); });
        if (!saved) state.SkipWithError("the close's save failed");
    }
}

// What the flushes of one crash-safe replace cost: the replace without any
// flush is the floor, beside it the replace with both flushes; the file's
// flush alone is shown as a counter.
void Flushes(benchmark::State& state) {
    WorkingFolder folder;
    const std::string text = bench::SettingsFileText(Foreign(state), bench::StartValues());
    WriteAged(kFloorFile, text);
    Pair pair(state);
    double fileFlushOnly = 0;
    for (auto _ : state) {
        pair.Figure([&] { Replace(kFloorFile, text); });
        pair.Floor([&] { Replace(kFloorFile, text, false, false); });
        fileFlushOnly += Seconds([&] { Replace(kFloorFile, text, true, false); });
    }
    state.counters["file_flush_only_ms"] = fileFlushOnly * 1000 / static_cast<double>(state.iterations());
}

// The whole harness session "show" + "close" on an existing file (the panel
// stays, so the flag is written twice: 0 at the start, 1 at the close),
// against starting a process and making two crash-safe replaces of the file.
void HarnessSession(benchmark::State& state) {
    WorkingFolder folder;
    const std::string text = bench::SettingsFileText(Foreign(state), bench::StartValues());
    WriteAged(kFile, text);
    WriteAged(kFloorFile, text);
    WriteFileText("session.txt", "show\nclose\n");
    Pair pair(state);
    for (auto _ : state) {
        int status = -1;
        pair.Figure([&] { status = RunProgram(KORVANE16_HARNESS, {}, "session.txt"); });
        pair.Floor([&] {
            RunProgram(KORVANE16_EMPTY_PROGRAM, {});
            Replace(kFloorFile, text);
            Replace(kFloorFile, text);
        });
        if (status != 0) state.SkipWithError("the harness session failed");
    }
    if (ReadFileText(kFile) != text) state.SkipWithError("the session left the file other than it found it");
}

const std::vector<std::pair<std::int64_t, const char*>> kSizes = {
    {1 << 10, "1KB"}, {100 << 10, "100KB"}, {1 << 20, "1MB"}, {10 << 20, "10MB"}};

void Register() {
    auto add = [](const std::string& name, void (*run)(benchmark::State&), std::vector<std::int64_t> args) {
        benchmark::RegisterBenchmark(name.c_str(), run)->Args(args)->UseManualTime()->Unit(benchmark::kMillisecond);
    };
    for (const auto& [bytes, label] : kSizes) {
        const std::string size = std::string("/") + label;
        add("start-up reads (99) vs 99 whole-file reads" + size, StartUp, {bytes});
        for (const int k : {1, 3, 99})
            add("close changing " + std::to_string(k) + " vs " + std::to_string(k) + " crash-safe replaces" + size,
                CloseChanging, {bytes, k});
        add("close changing nothing vs start-up reads" + size, CloseChangingNothing, {bytes});
        add("replace with both flushes vs without" + size, Flushes, {bytes});
        add("harness session show+close vs process start + 2 replaces" + size, HarnessSession, {bytes});
    }
}

// Collects every figure and prints them as one table at the end.
class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            failed_ = failed_ || run.error_occurred;
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) runs_.push_back(run);
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n| figure | file | figure ms | floor ms | ratio |\n|---|---|---|---|---|\n");
        for (const Run& run : runs_) {
            const std::string name = run.benchmark_name();
            const std::size_t slash = name.find('/');
            auto counter = [&](const char* which) {
                const auto found = run.counters.find(which);
                return found == run.counters.end() ? 0.0 : found->second.value;
            };
            std::printf("| %s | %s | %.3f | %.3f | %.2f |\n", name.substr(0, slash).c_str(),
                        name.substr(slash + 1, name.find('/', slash + 1) - slash - 1).c_str(),
                        run.GetAdjustedRealTime(), counter("floor_ms"), counter("ratio"));
        }
    }

    // True when a benchmark found the work other than it must be.
    bool Failed() const { return failed_; }

private:
    std::vector<Run> runs_;
    bool failed_ = false;
};

// The settings lock is created before main, in the folder XDG_RUNTIME_DIR
// names: the program starts itself again with a folder of its own there.
void OnPrivateLockFolder(char** argv) {
    if (const char* own = std::getenv(kPrivateRuntime)) {
        static const std::string folder = own;
        std::atexit([] { fs::remove_all(folder); });
        return;
    }
    std::string pattern = (fs::temp_directory_path() / "korvane16-bench-lock-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    setenv("XDG_RUNTIME_DIR", pattern.c_str(), 1);
    setenv(kPrivateRuntime, pattern.c_str(), 1);
    execv("/proc/self/exe", argv);
    std::perror("korvane16-bench: cannot start itself on a private lock folder");
    std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    OnPrivateLockFolder(argv);
    Register();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.Failed() ? 1 : 0;
}
