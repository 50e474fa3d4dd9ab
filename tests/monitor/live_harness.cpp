#include "tests/monitor/live_harness.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

LiveHarness::LiveHarness(const std::string& folder, const std::vector<std::string>& prefix,
                         const std::string& errors) {
    signal(SIGPIPE, SIG_IGN);  // a harness that died fails the test, not its process
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) {
        ADD_FAILURE() << "no pipes";
        return;
    }
    child_ = fork();
    if (child_ == 0) {
        if (chdir(folder.c_str()) != 0) _exit(126);
        dup2(in[0], 0);
        dup2(out[1], 1);
        close(in[1]);
        close(out[0]);
        if (!errors.empty()) dup2(open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        std::vector<const char*> words;
        for (const std::string& word : prefix) words.push_back(word.c_str());
        words.push_back(KORVANE16_HARNESS);
        words.push_back(nullptr);
        execvp(words[0], const_cast<char* const*>(words.data()));
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    toPanel_ = in[1];
    fromPanel_ = out[0];
    Do("show\n");
}

LiveHarness::~LiveHarness() {
    if (child_ > 0) Close();
}

void LiveHarness::Do(const std::string& lines) {
    // "state" prints its last line once every earlier line has been worked.
    const std::string script = lines + "state\n";
    ASSERT_EQ(write(toPanel_, script.data(), script.size()), static_cast<ssize_t>(script.size()));
    std::string out;
    char c = 0;
    while (out.find("positionMap ") == std::string::npos || out.back() != '\n') {
        ASSERT_EQ(read(fromPanel_, &c, 1), 1) << "the harness ended: " << out;
        out += c;
    }
}

int LiveHarness::Close() {
    const std::string close = "close\n";
    if (write(toPanel_, close.data(), close.size()) != static_cast<ssize_t>(close.size())) ADD_FAILURE();
    ::close(toPanel_);
    int status = 0;
    waitpid(child_, &status, 0);
    ::close(fromPanel_);
    child_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
