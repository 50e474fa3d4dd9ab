// The settings file shared between processes: the lock, and writes killed at
// any moment.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/profile_file.hpp"
#include "settings/settings_file.hpp"
#include "settings/settings_lock.hpp"
#include "tests/settings/settings_folder.hpp"

extern char** environ;

namespace {

constexpr int kPatientMs = 20000;  // a worker's reply is expected well within this

// A settings_worker process with pipes to its standard input and output; one
// still running at the end of a test is killed.
class Worker {
public:
    Worker(const std::filesystem::path& folder, std::vector<std::string> args) {
        int input[2], output[2];
        EXPECT_EQ(pipe2(input, O_CLOEXEC), 0);
        EXPECT_EQ(pipe2(output, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        args.insert(args.begin(), {SETTINGS_WORKER, folder.string()});
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        EXPECT_EQ(posix_spawn(&pid_, SETTINGS_WORKER, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(input[0]);
        close(output[1]);
        input_ = input[1];
        output_ = output[0];
    }

    ~Worker() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            Wait();
        }
        close(input_);
        close(output_);
    }

    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // The next line the worker says, without its line end; "" when it says
    // nothing within TIMEOUT_MS or has ended.
    std::string NextLine(int timeoutMs = kPatientMs) {
        std::string line;
        pollfd ready{output_, POLLIN, 0};
        char c = 0;
        while (poll(&ready, 1, timeoutMs) == 1 && read(output_, &c, 1) == 1) {
            if (c == '\n') return line;
            line += c;
        }
        return "";
    }

    void Go() { EXPECT_EQ(write(input_, "g", 1), 1); }

    // Sends LINE to a serving worker and gives its answer.
    std::string Ask(const std::string& line) {
        const std::string sent = line + "\n";
        EXPECT_EQ(write(input_, sent.data(), sent.size()), static_cast<ssize_t>(sent.size()));
        return NextLine();
    }

    void Kill() { kill(pid_, SIGKILL); }

    // The exit status as waitpid gives it.
    int Wait() {
        int status = -1;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }

private:
    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
};

bool ExitedCleanly(int status) { return WIFEXITED(status) && WEXITSTATUS(status) == 0; }

class SettingsProcesses : public SettingsFolderTest {};

TEST_F(SettingsProcesses, TheLockKeepsAnotherProcessWaiting) {
    std::optional<SettingsLockHold> hold;
    hold.emplace();
    {
        // A hold taken and released inside another leaves the outer one in force.
        SettingsLockHold inner;
    }
    Worker worker(folder_, {"probe-lock"});
    ASSERT_EQ(worker.NextLine(), "waiting");
    EXPECT_EQ(worker.NextLine(300), "") << "the worker took the lock this process holds";
    hold.reset();
    EXPECT_EQ(worker.NextLine(), "held");
    EXPECT_TRUE(ExitedCleanly(worker.Wait()));
}

// Two processes add one to the same key many times, each addition a read and a
// write under the lock; without the lock some additions would be lost.
TEST_F(SettingsProcesses, NoUpdateIsLostUnderTheLock) {
    constexpr int kCycles = 100;
    Worker first(folder_, {"increment", std::to_string(kCycles)});
    Worker second(folder_, {"increment", std::to_string(kCycles)});
    ASSERT_EQ(first.NextLine(), "ready");
    ASSERT_EQ(second.NextLine(), "ready");
    first.Go();
    second.Go();
    EXPECT_TRUE(ExitedCleanly(first.Wait()));
    EXPECT_TRUE(ExitedCleanly(second.Wait()));
    EXPECT_EQ(ReadSetting("Race", "Counter", -1), 2 * kCycles);
}

std::string LoopFile(std::int32_t first, std::int32_t second) {
    return "\xEF\xBB\xBF; kill test\r\n[General]\r\nDIV=16\r\n[Loop]\r\nFirst=" + std::to_string(first) +
           "\r\nSecond=" + std::to_string(second) + "\r\n\r\n[Tail]\r\nKept = yes\r\n";
}

// A worker rewrites two keys in turn and is killed at a random moment, again
// and again. After every kill the file is whole: exactly the file of some
// pair of values the worker wrote, never a torn or empty one. A kill between
// creating the temporary file and renaming it leaves that one hidden
// ".KORVANE16.ini.XXXXXX" file behind, until the next writer's first write
// removes it: at most the last kill's remains, and the next start removes it.
TEST_F(SettingsProcesses, AKilledWriterNeverLeavesATornFile) {
    constexpr int kKills = 25;
    std::mt19937 random(20240611);  // the same moments on every run
    std::uniform_int_distribution<int> delayUs(0, 4000);
    WriteFileText(kLocalFile, LoopFile(0, 0));

    std::int32_t lastFirst = 0;
    for (int round = 0; round < kKills; ++round) {
        SCOPED_TRACE("kill " + std::to_string(round));
        Worker worker(folder_, {"write-loop"});
        ASSERT_EQ(worker.NextLine(), "ready");
        // The last worker is let finish a write first: a flush can take longer
        // than every random moment on a busy disk, and the kills must have met
        // a writer that was writing.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (round == kKills - 1 && platform::ReadProfileInt("Loop", "First", -1, kSettingsFile) <= lastFirst &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        worker.Kill();
        worker.Wait();

        const std::int32_t first = platform::ReadProfileInt("Loop", "First", -1, kSettingsFile);
        const std::int32_t second = platform::ReadProfileInt("Loop", "Second", -1, kSettingsFile);
        ASSERT_EQ(ReadFileText(kLocalFile), LoopFile(first, second));
        ASSERT_TRUE(first == second || first == second + 1) << first << " " << second;
        ASSERT_GE(first, lastFirst);
        lastFirst = first;
    }
    EXPECT_GT(lastFirst, 0) << "no worker ever wrote: the kills tested nothing";

    int leftovers = 0;
    for (const std::string& name : FolderEntries()) {
        if (name == kLocalFile) continue;
        EXPECT_TRUE(name.starts_with(".KORVANE16.ini.")) << name;
        ++leftovers;
    }
    EXPECT_LE(leftovers, 1);
    platform::RemoveStaleTemporaries(kSettingsFile);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{kLocalFile});
}

// The file of DIV = VALUE (one digit), always of the same size.
std::string DivFile(int value) { return "[General]\nDIV=" + std::to_string(value) + "\nPAL=0\n"; }

struct stat StatusOf(const char* path) {
    struct stat info {};
    EXPECT_EQ(stat(path, &info), 0);
    return info;
}

// Gives PATH the modification time of BEFORE back.
void PutBackModificationTime(const char* path, const struct stat& before) {
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, path, times, 0), 0);
}

struct Change {
    const char* how;
    std::function<void(int value)> make;
};

// Changes of the file that keep its size, each made the way some program
// makes them: in place (as an editor that writes over the file does), in
// place with the old modification time put back (as a copy that keeps times
// does), and by a new file renamed over it with the old file's times.
const Change kChanges[] = {
    {"rewritten in place", [](int value) { WriteFileText(kLocalFile, DivFile(value)); }},
    {"rewritten in place, its modification time put back",
     [](int value) {
         const struct stat before = StatusOf(kLocalFile);
         WriteFileText(kLocalFile, DivFile(value));
         PutBackModificationTime(kLocalFile, before);
     }},
    {"replaced by a renamed file with the old one's times",
     [](int value) {
         const struct stat before = StatusOf(kLocalFile);
         WriteFileText("replacement.ini", DivFile(value));
         PutBackModificationTime("replacement.ini", before);
         ASSERT_EQ(rename("replacement.ini", kLocalFile), 0);
     }},
};

// Long enough for any file stamp taken before it to lie in an earlier tick of
// the clock that stamps files.
constexpr auto kSettle = std::chrono::milliseconds(40);

// Another process keeps what it read of the file between its accesses. Every
// change this one makes meanwhile shows in that process's next access: made
// at once after its last access (within the same tick of the file stamps'
// clock) or after its copy had settled, and after its own write too.
TEST_F(SettingsProcesses, AnotherProcessSeesEveryChangeAtItsNextAccess) {
    for (const Change& change : kChanges) {
        SCOPED_TRACE(change.how);
        WriteFileText(kLocalFile, DivFile(0));
        Worker worker(folder_, {"serve"});
        for (int round = 1; round <= 40; ++round) {
            SCOPED_TRACE("round " + std::to_string(round));
            const int value = round % 10;
            const bool settled = round % 2 == 0;
            if (settled) std::this_thread::sleep_for(kSettle);
            // A read, or (every third round) a write, gives the worker its copy.
            if (round % 3 == 0)
                ASSERT_EQ(worker.Ask("write General PAL 0"), "ok");
            else
                ASSERT_EQ(worker.Ask("read General DIV"), std::to_string((round + 9) % 10));
            if (settled) std::this_thread::sleep_for(kSettle);
            change.make(value);
            ASSERT_EQ(worker.Ask("read General DIV"), std::to_string(value));
        }
    }
}

// The other way round: this process keeps its copy, another writes.
TEST_F(SettingsProcesses, ThisProcessSeesAnotherProcesssWriteAtItsNextAccess) {
    WriteFileText(kLocalFile, DivFile(0));
    Worker worker(folder_, {"serve"});
    for (int round = 1; round <= 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        if (round % 2 == 0) std::this_thread::sleep_for(kSettle);
        ASSERT_EQ(ReadSetting("General", "DIV", -1), (round + 9) % 10);
        ASSERT_EQ(worker.Ask("write General DIV " + std::to_string(round % 10)), "ok");
        ASSERT_EQ(ReadSetting("General", "DIV", -1), round % 10);
    }
}

}  // namespace
