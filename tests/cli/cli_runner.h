#pragma once
// Runs darazoz-cli as a separate process, as a user would.

#include <sys/wait.h>

#include <cstdio>
#include <string>

struct CliResult {
    int status = -1;
    std::string out;  // standard output and standard error together
};

inline CliResult RunCli(const std::string& arguments) {
    std::string command = std::string(DARAZOZ_CLI) + " " + arguments + " 2>&1";
    CliResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) result.out.append(buffer, n);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}
