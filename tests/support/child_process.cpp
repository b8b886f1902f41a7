#include "child_process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>

extern char** environ;

ChildProcess::ChildProcess(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int input[2];
    if (args.empty() || pipe(input) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, input[1]);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    stdin_ = input[1];
}

ChildProcess::~ChildProcess() {
    Quit();
}

void ChildProcess::Command(const std::string& text) {
    if (stdin_ >= 0) (void)!write(stdin_, text.data(), text.size());
}

int ChildProcess::Quit() {
    if (pid_ <= 0) return -1;
    Command("quit\n");
    close(stdin_);
    stdin_ = -1;
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int ChildProcess::Wait(int limitSeconds) {
    if (pid_ <= 0) return -1;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(limitSeconds);
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= limit) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            status = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = -1;
    if (stdin_ >= 0) close(stdin_);
    stdin_ = -1;
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int ChildProcess::Terminate(int graceSeconds) {
    if (pid_ > 0) kill(pid_, SIGTERM);
    return Wait(graceSeconds);
}
