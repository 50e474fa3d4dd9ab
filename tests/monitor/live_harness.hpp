// The panel kept running on the harness, worked line by line from the test,
// so a monitor can watch its board meanwhile.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class LiveHarness {
public:
    // Starts the harness in FOLDER (its settings folder) and shows the panel;
    // PREFIX: words put before it; ERRORS: a file for its standard error.
    explicit LiveHarness(const std::string& folder, const std::vector<std::string>& prefix = {},
                         const std::string& errors = "");
    ~LiveHarness();
    LiveHarness(const LiveHarness&) = delete;
    LiveHarness& operator=(const LiveHarness&) = delete;

    // Sends script lines and returns once the panel has worked them all.
    void Do(const std::string& lines);
    // Closes the panel; returns the harness's exit status (-1 when killed).
    int Close();

private:
    pid_t child_ = -1;
    int toPanel_ = -1;
    int fromPanel_ = -1;
};
