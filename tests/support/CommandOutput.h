#pragma once
// Runs a shell command for a test and collects what it prints on standard output (append
// " 2>&1" to the command for its errors too) and how it ended.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace solx::testing {

struct CommandResult {
    std::string output;
    int status = -1;  // the exit status; -1 when it could not start or did not exit normally
};

inline CommandResult RunCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buf;
    while (size_t n = std::fread(buf.data(), 1, buf.size(), pipe))
        result.output.append(buf.data(), n);
    const int raw = ::pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

// What the command printed, whatever its exit status.
inline std::string CommandOutput(const std::string& command) {
    return RunCommand(command).output;
}

}  // namespace solx::testing
