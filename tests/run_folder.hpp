// A private temporary folder in which a test runs the built programs as fresh
// processes: the stand-in driver's journal and the settings lock's run-time
// folder lie in it, the settings file in its working folder, and each
// program's output goes into files the test reads once the program has ended.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/file_text.hpp"

struct Finished {
    int status = -1;  // the exit status, or 128 + the signal
    std::string out, err;
};

class RunFolder {
public:
    using Environment = std::vector<std::pair<std::string, std::string>>;

    // WORK names the folder inside this one where programs run and find their
    // settings file ("" for this folder itself).
    explicit RunFolder(const std::string& work = "");
    ~RunFolder();
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    const std::string& Folder() const { return folder_; }
    std::string Path(const std::string& name) const { return folder_ + "/" + name; }
    std::string WorkFolder() const { return work_; }
    std::string RuntimeFolder() const { return Path("runtime"); }
    std::string SettingsPath() const { return work_ + "/KORVANE16.ini"; }
    // The settings lock's file, as the panel and the tool take it here.
    std::string LockFile() const { return RuntimeFolder() + "/ZEDevudIzazIni"; }

    void WriteSettings(const std::string& text) const;
    std::string Settings() const;
    bool SettingsExist() const;
    std::vector<std::string> Journal() const;

    // Starts WORDS in the working folder, ENVIRONMENT over this folder's journal
    // and run-time folder (a value "-" removes a variable), its output in OUT
    // ("" closes it) and its errors in ERR. SEARCH_PATH looks WORDS[0] up in PATH.
    pid_t Spawn(std::vector<std::string> words, const Environment& environment, const std::string& out,
                const std::string& err, bool searchPath = false) const;
    // Waits for CHILD, killing it after SECONDS when that is above 0, and reads
    // OUT and ERR.
    static Finished Reap(pid_t child, const std::string& out, const std::string& err, double seconds = 0);

private:
    std::string folder_, work_;
};
