#include "child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>

extern char** environ;

ChildProcess::ChildProcess(std::vector<std::string> args, Input input,
                           const std::string& outputFile) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int pipeEnds[2];
    if (args.empty() || pipe(pipeEnds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input == Input::Pipe) {
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    if (!outputFile.empty()) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0600);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    }
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[0]);
    stdin_ = pipeEnds[1];
}

ChildProcess::~ChildProcess() {
    Terminate();
}

void ChildProcess::Command(const std::string& text) {
    if (stdin_ >= 0) (void)!write(stdin_, text.data(), text.size());
}

int ChildProcess::Quit() {
    if (pid_ <= 0) return -1;
    Command("quit\n");
    return Wait();
}

int ChildProcess::Terminate(int signal, int graceSeconds) {
    if (pid_ > 0) kill(pid_, signal);
    return Wait(graceSeconds);
}

int ChildProcess::Wait(int limitSeconds) {
    if (pid_ <= 0) return -1;
    if (stdin_ >= 0) close(stdin_);
    stdin_ = -1;
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
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
