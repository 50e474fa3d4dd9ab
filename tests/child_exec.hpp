// The last step of a forked child in the program tests: its input from
// /dev/null, its output and errors into files the test reads afterwards, then
// the program itself.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

// Never returns: exit status 127 when WORDS[0] cannot be run. An empty OUT
// leaves standard output closed. SEARCH_PATH looks a bare program name up in PATH.
[[noreturn]] inline void ExecWithOutputFiles(std::vector<std::string> words, const std::string& out,
                                             const std::string& err, bool search_path = false) {
    dup2(open("/dev/null", O_RDONLY), 0);
    if (!out.empty()) dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    if (out.empty()) close(1);  // the program's output closed
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    if (search_path) execvp(argv[0], argv.data());
    else execv(argv[0], argv.data());
    _exit(127);
}
