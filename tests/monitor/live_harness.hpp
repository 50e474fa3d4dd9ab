// The panel kept running on the harness, worked line by line from the test,
// so a monitor can watch its board meanwhile.
#pragma once

#include <sys/types.h>

#include <string>

class LiveHarness {
public:
    // Starts the harness in FOLDER (its settings folder) and shows the panel.
    explicit LiveHarness(const std::string& folder);
    ~LiveHarness();
    LiveHarness(const LiveHarness&) = delete;
    LiveHarness& operator=(const LiveHarness&) = delete;

    // Sends script lines and returns once the panel has worked them all.
    void Do(const std::string& lines);
    // Closes the panel; returns the harness's exit status.
    int Close();

private:
    pid_t child_ = -1;
    int toPanel_ = -1;
    int fromPanel_ = -1;
};
