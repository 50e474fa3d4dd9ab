// settings_kill: kills the panel at random moments of its close's save, again
// and again, and runs panels side by side on one settings file, then checks
// what each left. A proof to run briefly in CI and at length by hand.
//
//   settings_kill [--kills N] [--sessions P] [--rounds R] [--seed S] -- HARNESS...
//
// HARNESS... starts korvane16-harness (e.g. "wine korvane16-harness.exe"); its
// stand-in driver is expected beside it.
//
// Kills: each of N rounds starts from the same settings file, in which the
// session's operator actions change every one of the 99 keys, waits until the
// driver is released (the save follows at once), waits a random part of a
// save's length and kills the panel with SIGKILL. The file must then be whole:
// every line a section or a key (no torn line), every key present once with
// its old or its new value, on POSIX line for line the old or the new line.
// At most one temporary file may remain; the next start (a panel without its
// driver, which only looks at the show-panel flag) must remove it.
//
// Side by side: each of R rounds starts P panels at once on one file, each
// setting other values. A panel that finds the show-panel flag already cleared
// by another quits at start, saving what it read, as it should. Afterwards
// every key must be present once, holding the old value or one of the panels'
// values, and no temporary file may remain. Beside native panels two other
// writers work on the same file meanwhile:
//   - a neighbour that keeps the file mapped and, under the settings lock,
//     counts a value of its own up in place (its stores after the first into
//     a page leave the file's stamps alone); at each count and at the end the
//     file must hold its last one: no update lost;
//   - a file copier that delivers the file as such tools do: its copy in
//     flight named ".KORVANE16.ini.XXXXXX", written without the lock, then
//     renamed over the file. Its rename is made under the lock with the file's
//     bytes of that moment, so that it undoes no update itself (a real copier
//     would); what is proven is that no delivery fails and no file in flight
//     is removed.
// (The Windows build's lock is its system's mutex, which they cannot take.)
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "dialog/control_ids.hpp"
#include "tests/file_text.hpp"

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kKeyCount = 99;
constexpr const char* kAttributeKeys[] = {"Brightness", "Contrast", "HUE", "Saturation"};
constexpr int kSliders[] = {ids::BrightnessSlider, ids::ContrastSlider, ids::HueSlider, ids::SaturationSlider};

struct Options {
    int kills = 300;
    int sessions = 4;
    int rounds = 25;
    unsigned seed = 1;
    std::vector<std::string> harness;
};

using Settings = std::map<std::pair<std::string, std::string>, std::string>;  // (section, key) -> value

// The file every round starts from: the layout code 4 with its tiles reversed,
// NTSC, every channel on, the default attributes, the show-panel flag 1.
Settings StartSettings() {
    Settings s;
    s[{"General", "DIV"}] = "4";
    for (int i = 0; i < 16; ++i) s[{"General", "Position" + std::to_string(i)}] = std::to_string(15 - i);
    s[{"General", "SetParameter"}] = "1";
    s[{"Format", "PAL"}] = "0";
    for (int i = 1; i <= 16; ++i) s[{"Camera", "Camera" + std::to_string(i)}] = "1";
    const char* defaults[] = {"100", "180", "128", "128"};
    for (int ch = 1; ch <= 16; ++ch)
        for (int a = 0; a < 4; ++a) s[{"Attribute" + std::to_string(ch), kAttributeKeys[a]}] = defaults[a];
    return s;
}

// The text of SETTINGS, sections in a fixed order, LF lines.
std::string TextOf(const Settings& settings) {
    std::vector<std::string> sections{"General", "Format", "Camera"};
    for (int ch = 1; ch <= 16; ++ch) sections.push_back("Attribute" + std::to_string(ch));
    std::string text;
    for (const std::string& section : sections) {
        text += "[" + section + "]\n";
        for (const auto& [name, value] : settings)
            if (name.first == section) text += name.second + "=" + value + "\n";
    }
    return text;
}

// After the session's actions (PAL pressed, which falls back to 16 tiles in
// camera order; "All off"; the four sliders dragged to ATTRIBUTES for channel 1
// and "Set all"), every key holds this.
Settings EndSettings(const int (&attributes)[4]) {
    Settings s = StartSettings();
    s[{"General", "DIV"}] = "16";
    for (int i = 0; i < 16; ++i) s[{"General", "Position" + std::to_string(i)}] = std::to_string(i);
    s[{"Format", "PAL"}] = "1";
    for (int i = 1; i <= 16; ++i) s[{"Camera", "Camera" + std::to_string(i)}] = "0";
    for (int ch = 1; ch <= 16; ++ch)
        for (int a = 0; a < 4; ++a) s[{"Attribute" + std::to_string(ch), kAttributeKeys[a]}] = std::to_string(attributes[a]);
    return s;
}

std::string SessionScript(const int (&attributes)[4]) {
    std::string script = "show\nclick " + std::to_string(ids::Pal) + "\nclick " + std::to_string(ids::AllOff) + "\n";
    for (int a = 0; a < 4; ++a) script += "drag " + std::to_string(kSliders[a]) + " " + std::to_string(attributes[a]) + "\n";
    return script + "click " + std::to_string(ids::SetAllButton) + "\nclose\n";
}

// Slider values that differ from the start file's in every attribute.
void DrawAttributes(std::mt19937& random, int (&attributes)[4]) {
    const int defaults[] = {100, 180, 128, 128};
    for (int a = 0; a < 4; ++a) {
        do attributes[a] = std::uniform_int_distribution<int>(0, 255)(random);
        while (attributes[a] == defaults[a]);
    }
}

// The file as key lines, or an error when a line is neither a section nor a
// key line, a key stands twice, or the last line has no line end.
struct Parsed {
    Settings settings;
    std::vector<std::string> lines;  // without line ends
    std::string error;
};

Parsed Parse(const std::string& text) {
    Parsed parsed;
    if (!text.empty() && text.back() != '\n') parsed.error = "the last line has no line end";
    std::string section;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        parsed.lines.push_back(line);
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos || equals == 0) {
            parsed.error = "a line that is neither a section nor a key: \"" + line + "\"";
            continue;
        }
        if (!parsed.settings.emplace(std::pair{section, line.substr(0, equals)}, line.substr(equals + 1)).second)
            parsed.error = "a key stands twice: " + line;
    }
    return parsed;
}

class Folder {
public:
    explicit Folder(const fs::path& path) : path_(path) {}
    const fs::path& path() const { return path_; }
    fs::path Settings() const { return path_ / "KORVANE16.ini"; }

    std::vector<std::string> Temporaries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path_)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(".KORVANE16.ini.")) names.push_back(name);
        }
        return names;
    }

private:
    fs::path path_;
};

// A harness process working in FOLDER on SCRIPT, its journal at JOURNAL.
pid_t StartPanel(const std::vector<std::string>& command, const fs::path& folder, const fs::path& script,
                 const fs::path& journal) {
    std::vector<std::string> words = command;
    words.push_back(script.string());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (folder / "err.txt").c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    setenv("TAVRIND_JOURNAL", journal.c_str(), 1);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int WaitFor(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

bool JournalSays(const fs::path& journal, const std::string& line) {
    return ReadFileText(journal).find("\n" + line + "\n") != std::string::npos;
}

// Waits until the journal shows the driver released; false when the panel
// ended first or a minute passed.
bool WaitForRelease(pid_t pid, const fs::path& journal) {
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (Clock::now() < deadline) {
        if (JournalSays(journal, "unload")) return true;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

struct Tally {
    int runs = 0, mixed = 0, allOld = 0, allNew = 0, finishedFirst = 0, leftOne = 0;
    int tornFiles = 0, lostKeys = 0, wrongValues = 0, leftTemporaries = 0, temporariesAfterNextStart = 0;
    // The neighbours beside the panels (side by side only).
    int mappedStores = 0, lostMappedUpdates = 0, deliveries = 0, failedDeliveries = 0;

    bool Failed() const {
        return tornFiles + lostKeys + wrongValues + leftTemporaries + temporariesAfterNextStart + lostMappedUpdates +
                   failedDeliveries > 0;
    }
};

// Holds the panels' settings lock (the harness's lock file in the run-time
// folder) for one access, as a program that shares the file should.
class SettingsLockHeld {
public:
    explicit SettingsLockHeld(const fs::path& lockFile)
        : fd_(open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        while (fd_ >= 0 && flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~SettingsLockHeld() {
        if (fd_ >= 0) close(fd_);
    }
    SettingsLockHeld(const SettingsLockHeld&) = delete;
    SettingsLockHeld& operator=(const SettingsLockHeld&) = delete;

private:
    int fd_;
};

constexpr const char* kMappedKey = "Mapped=";
constexpr std::size_t kMappedDigits = 6;

// COUNT as the neighbour stores it: always six digits.
std::string CountText(int count) {
    std::string digits = std::to_string(count % 1000000);
    return digits.insert(0, kMappedDigits - digits.size(), '0');
}

// The neighbour that counts "Mapped" up through a mapping of the file it
// keeps while the file stays the same (a replaced file is mapped anew).
class MappedNeighbour {
public:
    MappedNeighbour(fs::path file, fs::path lockFile) : file_(std::move(file)), lockFile_(std::move(lockFile)) {}
    ~MappedNeighbour() { Unmap(); }

    // One session: false when the file holds no count to change. A count
    // other than its last one found there is a lost update.
    bool CountUp() {
        const SettingsLockHeld hold(lockFile_);
        struct stat now {};
        if (stat(file_.c_str(), &now) != 0) return false;
        if (bytes_ == nullptr || now.st_ino != inode_ || now.st_dev != device_) Map();
        if (bytes_ == nullptr) return false;
        const std::size_t at = std::string_view(bytes_, size_).find(kMappedKey);
        if (at == std::string_view::npos || at + std::strlen(kMappedKey) + kMappedDigits > size_) return false;
        char* digits = bytes_ + at + std::strlen(kMappedKey);
        if (std::string_view(digits, kMappedDigits) != CountText(count_)) ++lost_;
        std::memcpy(digits, CountText(++count_).data(), kMappedDigits);
        return true;
    }
    int Count() const { return count_; }
    int Lost() const { return lost_; }

private:
    void Map() {
        Unmap();
        fd_ = open(file_.c_str(), O_RDWR | O_CLOEXEC);
        struct stat info {};
        if (fd_ < 0 || fstat(fd_, &info) != 0 || info.st_size == 0) return;
        void* bytes = mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
        if (bytes == MAP_FAILED) return;
        bytes_ = static_cast<char*>(bytes);
        size_ = static_cast<std::size_t>(info.st_size);
        inode_ = info.st_ino;
        device_ = info.st_dev;
    }
    void Unmap() {
        if (bytes_ != nullptr) munmap(bytes_, size_);
        if (fd_ >= 0) close(fd_);
        bytes_ = nullptr;
        fd_ = -1;
    }

    fs::path file_, lockFile_;
    int fd_ = -1;
    char* bytes_ = nullptr;
    std::size_t size_ = 0;
    ino_t inode_ = 0;
    dev_t device_ = 0;
    int count_ = 0;
    int lost_ = 0;
};

// One delivery of the file copier; false when it failed: its file in flight
// was removed, or the rename did not succeed.
bool DeliverAsACopier(const fs::path& file, const fs::path& lockFile) {
    std::string temporary = (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    // In flight for a while, in pieces, as a copy over a network comes.
    const std::string piece(512, ';');
    bool ok = true;
    for (int i = 0; ok && i < 4; ++i) {
        ok = write(fd, piece.data(), piece.size()) == static_cast<ssize_t>(piece.size());
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    if (ok) {
        const SettingsLockHeld hold(lockFile);
        const std::string text = ReadFileText(file);
        struct stat named {}, held {};
        ok = ftruncate(fd, 0) == 0 && pwrite(fd, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size()) &&
             stat(temporary.c_str(), &named) == 0 && fstat(fd, &held) == 0 && named.st_ino == held.st_ino &&
             rename(temporary.c_str(), file.c_str()) == 0;
    }
    close(fd);
    if (!ok) unlink(temporary.c_str());
    return ok;
}

// Runs the neighbour and the copier on FILE until STOP is set, counting into
// TALLY; false when the neighbour's last count is not in the file.
class Neighbours {
public:
    Neighbours(const fs::path& file, const fs::path& lockFile, Tally& tally)
        : file_(file), mapped_(file, lockFile), tally_(tally) {
        mapping_ = std::thread([this] {
            while (!stop_) {
                if (mapped_.CountUp()) ++stores_;
                std::this_thread::sleep_for(std::chrono::microseconds(300));
            }
        });
        copying_ = std::thread([this, lockFile] {
            while (!stop_) {
                ++deliveries_;
                if (!DeliverAsACopier(file_, lockFile)) ++failed_;
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
    }
    // Stops both and checks the file for the neighbour's last count.
    void Finish() {
        stop_ = true;
        mapping_.join();
        copying_.join();
        tally_.mappedStores += stores_;
        tally_.deliveries += deliveries_;
        tally_.failedDeliveries += failed_;
        const std::string last = kMappedKey + CountText(mapped_.Count()) + "\n";
        const bool lastKept = ReadFileText(file_).find(last) != std::string::npos;
        if (tally_.lostMappedUpdates == 0 && (!lastKept || mapped_.Lost() > 0))
            std::cerr << "settings_kill: the neighbour lost " << mapped_.Lost() << " counts in a round"
                      << (lastKept ? "" : " and its last, " + last) << '\n';
        tally_.lostMappedUpdates += mapped_.Lost() + (lastKept ? 0 : 1);
    }

private:
    fs::path file_;
    MappedNeighbour mapped_;
    Tally& tally_;
    std::atomic<bool> stop_{false};
    std::atomic<int> stores_{0}, deliveries_{0}, failed_{0};
    std::thread mapping_, copying_;
};

// Checks the killed file against the start and end settings; counts into TALLY
// and describes the first fault on standard error.
void CheckKilledFile(const std::string& text, const Settings& start, const Settings& end, bool sameLayout,
                     bool finished, Tally& tally) {
    const Parsed parsed = Parse(text);
    const Parsed startFile = Parse(TextOf(start)), endFile = Parse(TextOf(end));
    auto fault = [&](int& counter, const std::string& what) {
        if (counter++ == 0) std::cerr << "settings_kill: " << what << "\n" << text << "\n";
    };
    if (!parsed.error.empty()) fault(tally.tornFiles, parsed.error);
    int changed = 0;
    for (const auto& [name, oldValue] : start) {
        const auto found = parsed.settings.find(name);
        if (found == parsed.settings.end()) {
            fault(tally.lostKeys, "key lost: [" + name.first + "] " + name.second);
            continue;
        }
        const std::string& newValue = end.at(name);
        if (found->second == newValue && newValue != oldValue) ++changed;
        // The show-panel flag reads "0" from the start until the save's last write.
        const bool flagDuringSave = name.second == "SetParameter" && found->second == "0";
        if (found->second != oldValue && found->second != newValue && !flagDuringSave)
            fault(tally.wrongValues, "[" + name.first + "] " + name.second + " holds neither its old nor its new value");
    }
    if (parsed.settings.size() != start.size()) fault(tally.lostKeys, "keys added or lost");
    if (sameLayout) {
        // The POSIX writer changes only the key's own line: line for line, the
        // old line or the new one.
        bool sameLines = parsed.lines.size() == startFile.lines.size();
        for (std::size_t i = 0; sameLines && i < parsed.lines.size(); ++i)
            sameLines = parsed.lines[i] == startFile.lines[i] || parsed.lines[i] == endFile.lines[i] ||
                        parsed.lines[i] == "SetParameter=0";
        if (!sameLines) fault(tally.tornFiles, "lines other than the old and the new ones");
    }
    // The show-panel flag ends as it started; the 98 others all change.
    if (finished) ++tally.finishedFirst;
    else if (changed == 0) ++tally.allOld;
    else if (changed == kKeyCount - 1) ++tally.allNew;
    else ++tally.mixed;
}

struct Run {
    Options options;
    fs::path work;
    std::vector<std::string> alone;  // the harness without its driver beside it

    // Starts one panel session and waits for its end; the time from the driver's
    // release to the end, or a negative time when it did not complete.
    double TimedSave(const Folder& folder, const int (&attributes)[4]) {
        const fs::path script = work / "calibrate.txt", journal = folder.path() / "journal.txt";
        WriteFileText(script, SessionScript(attributes));
        WriteFileText(journal, "");
        WriteFileText(folder.Settings(), TextOf(StartSettings()));
        const pid_t pid = StartPanel(options.harness, folder.path(), script, journal);
        if (pid < 0 || !WaitForRelease(pid, journal)) return -1;
        const auto released = Clock::now();
        const int status = WaitFor(pid);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
        return std::chrono::duration<double>(Clock::now() - released).count();
    }

    bool NextStart(const Folder& folder) {
        const fs::path script = work / "next-start.txt", journal = folder.path() / "journal-next.txt";
        WriteFileText(script, "show\n");  // the harness closes the dialog when the script ends
        const pid_t pid = StartPanel(alone, folder.path(), script, journal);
        return pid > 0 && WaitFor(pid) == 0;
    }

    int Kills(Tally& tally) {
        const Folder folder(work / "kills");
        fs::create_directories(folder.path());
        std::mt19937 random(options.seed);
        int attributes[4];
        DrawAttributes(random, attributes);
        // The kills fall within the typical length of a save: the median of a few.
        std::vector<double> saves;
        for (int i = 0; i < 5; ++i) saves.push_back(TimedSave(folder, attributes));
        std::sort(saves.begin(), saves.end());
        const double saveSeconds = saves.front() > 0 ? saves[saves.size() / 2] : -1;
        if (saveSeconds <= 0) {
            std::cerr << "settings_kill: a session did not complete: " << ReadFileText(folder.path() / "err.txt") << '\n';
            return 1;
        }
        std::cout << "a save takes about " << static_cast<int>(saveSeconds * 1000) << " ms\n";
        const bool posixWriter = options.harness.size() == 1;  // no runner such as Wine in front

        for (int round = 0; round < options.kills; ++round) {
            DrawAttributes(random, attributes);
            const Settings start = StartSettings(), end = EndSettings(attributes);
            const fs::path script = work / "session.txt", journal = folder.path() / "journal.txt";
            WriteFileText(script, SessionScript(attributes));
            WriteFileText(journal, "");
            WriteFileText(folder.Settings(), TextOf(start));
            const pid_t pid = StartPanel(options.harness, folder.path(), script, journal);
            if (pid < 0) return 1;
            ++tally.runs;
            if (WaitForRelease(pid, journal)) {
                const double delay = std::uniform_real_distribution<double>(0, saveSeconds)(random);
                std::this_thread::sleep_for(std::chrono::duration<double>(delay));
                kill(pid, SIGKILL);
            }
            const int status = WaitFor(pid);
            CheckKilledFile(ReadFileText(folder.Settings()), start, end, posixWriter, !WIFSIGNALED(status), tally);
            const std::size_t temporaries = folder.Temporaries().size();
            if (temporaries == 1) ++tally.leftOne;
            if (temporaries > 1) ++tally.leftTemporaries;
            if (!NextStart(folder)) {
                std::cerr << "settings_kill: the next start failed: " << ReadFileText(folder.path() / "err.txt") << '\n';
                return 1;
            }
            if (!folder.Temporaries().empty()) ++tally.temporariesAfterNextStart;
            if (!Parse(ReadFileText(folder.Settings())).error.empty()) ++tally.tornFiles;
        }
        return 0;
    }

    int SideBySide(Tally& tally) {
        const Folder folder(work / "side-by-side");
        fs::create_directories(folder.path());
        std::mt19937 random(options.seed + 1);
        const bool neighbours = options.harness.size() == 1;  // native panels, which take the same lock
        for (int round = 0; round < options.rounds; ++round) {
            const Settings start = StartSettings();
            WriteFileText(folder.Settings(), TextOf(start) + (neighbours ? "[Neighbour]\n" + std::string(kMappedKey) + CountText(0) + "\n" : ""));
            fs::remove(folder.path() / "err.txt");
            std::optional<Neighbours> beside;
            if (neighbours) beside.emplace(folder.Settings(), work / "runtime" / "ZEDevudIzazIni", tally);
            std::vector<Settings> ends;
            std::vector<pid_t> panels;
            for (int p = 0; p < options.sessions; ++p) {
                int attributes[4];
                DrawAttributes(random, attributes);
                ends.push_back(EndSettings(attributes));
                const fs::path script = work / ("panel" + std::to_string(p) + ".txt");
                WriteFileText(script, SessionScript(attributes));
                panels.push_back(StartPanel(options.harness, folder.path(), script,
                                            folder.path() / ("journal" + std::to_string(p) + ".txt")));
            }
            for (const pid_t pid : panels) {
                ++tally.runs;
                const int status = WaitFor(pid);
                if (pid == panels.back() && beside) beside->Finish();
                if (WIFEXITED(status) && WEXITSTATUS(status) == 0) continue;
                // A panel that found the show-panel flag cleared by another
                // quits at start (and saves what it read); its script then
                // meets the ended dialog.
                if (WIFEXITED(status) && WEXITSTATUS(status) == 2 &&
                    ReadFileText(folder.path() / "err.txt").find("the dialog has ended") != std::string::npos) {
                    ++tally.finishedFirst;
                    continue;
                }
                std::cerr << "settings_kill: a panel failed (status " << status
                          << "): " << ReadFileText(folder.path() / "err.txt") << '\n';
                return 1;
            }
            const Parsed parsed = Parse(ReadFileText(folder.Settings()));
            if (!parsed.error.empty()) ++tally.tornFiles;
            for (const auto& [name, oldValue] : start) {
                const auto found = parsed.settings.find(name);
                if (found == parsed.settings.end()) {
                    ++tally.lostKeys;
                    continue;
                }
                bool known = found->second == oldValue || name.second == "SetParameter";
                for (const Settings& end : ends) known = known || found->second == end.at(name);
                if (!known) ++tally.wrongValues;
            }
            if (!folder.Temporaries().empty()) ++tally.leftTemporaries;
        }
        return 0;
    }
};

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    int i = 1;
    for (; i < argc && std::string(argv[i]) != "--"; i += 2) {
        if (i + 1 >= argc) return std::nullopt;
        const std::string name = argv[i];
        const int value = std::atoi(argv[i + 1]);
        if (name == "--kills") options.kills = value;
        else if (name == "--sessions") options.sessions = value;
        else if (name == "--rounds") options.rounds = value;
        else if (name == "--seed") options.seed = static_cast<unsigned>(value);
        else return std::nullopt;
    }
    for (++i; i < argc; ++i) options.harness.push_back(argv[i]);
    if (options.harness.empty()) return std::nullopt;
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        std::cerr << "usage: settings_kill [--kills N] [--sessions P] [--rounds R] [--seed S] -- HARNESS...\n";
        return 2;
    }
    std::string pattern = (fs::temp_directory_path() / "korvane16-kill-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return 1;
    Run run{*options, pattern, {}};
    // The panels' settings lock in a folder of this run's own.
    fs::create_directory(run.work / "runtime");
    fs::permissions(run.work / "runtime", fs::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", (run.work / "runtime").c_str(), 1);
    // The next start: the harness copied alone, so no driver is found.
    const fs::path harness = options->harness.back();
    fs::create_directories(run.work / "alone");
    fs::copy_file(harness, run.work / "alone" / harness.filename());
    run.alone = options->harness;
    run.alone.back() = (run.work / "alone" / harness.filename()).string();

    Tally kills, sideBySide;
    const auto started = Clock::now();
    int failed = run.Kills(kills);
    if (failed == 0) failed = run.SideBySide(sideBySide);
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();

    std::cout << "kills: " << kills.runs << " panels, " << kills.mixed << " killed in the middle of the save, "
              << kills.allOld << " before its first key, " << kills.allNew << " after its last, "
              << kills.finishedFirst << " ended before the kill; torn files " << kills.tornFiles
              << ", lost keys " << kills.lostKeys << ", wrong values " << kills.wrongValues
              << "; " << kills.leftOne << " kills left their temporary file, more than one left "
              << kills.leftTemporaries << ", any left after the next start " << kills.temporariesAfterNextStart << '\n';
    std::cout << "side by side: " << sideBySide.runs << " panels, " << options->sessions << " at a time ("
              << sideBySide.finishedFirst << " quit at start, finding the show-panel flag cleared); torn files "
              << sideBySide.tornFiles << ", lost keys " << sideBySide.lostKeys << ", wrong values "
              << sideBySide.wrongValues << ", temporary files left " << sideBySide.leftTemporaries << '\n';
    std::cout << "beside them: a neighbour's " << sideBySide.mappedStores << " counts through a mapping, "
              << sideBySide.lostMappedUpdates << " lost; a copier's " << sideBySide.deliveries
              << " deliveries, " << sideBySide.failedDeliveries << " failed\n";
    std::cout << "in " << static_cast<int>(seconds) << " s\n";
    if (failed == 0 && !kills.Failed() && !sideBySide.Failed()) fs::remove_all(run.work);
    else std::cerr << "settings_kill: the runs are kept in " << run.work.string() << '\n';
    return failed != 0 || kills.Failed() || sideBySide.Failed() ? 1 : 0;
}
