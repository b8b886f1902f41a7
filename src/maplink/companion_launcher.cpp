#include "maplink/companion_launcher.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

bool LaunchDetached(const std::vector<std::string>& argv) {
    if (argv.empty() || argv[0].empty()) return false;
    // Everything the children touch is prepared before fork: after fork in a
    // threaded process only async-signal-safe calls are allowed.
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    int status[2];
#ifdef __linux__
    if (pipe2(status, O_CLOEXEC) != 0) return false;
#else
    if (pipe(status) != 0) return false;
    fcntl(status[0], F_SETFD, FD_CLOEXEC);
    fcntl(status[1], F_SETFD, FD_CLOEXEC);
#endif
    const int nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const pid_t child = fork();
    if (child < 0) {
        close(status[0]);
        close(status[1]);
        if (nothing >= 0) close(nothing);
        return false;
    }
    if (child == 0) {
        // The intermediate child exits at once, so the program is adopted by
        // init and never becomes our zombie.
        const char failed = 1;
        setsid();
        const pid_t grandchild = fork();
        if (grandchild < 0) {
            (void)!write(status[1], &failed, 1);
            _exit(127);
        }
        if (grandchild > 0) _exit(0);
        // Not the caller's terminal: a detached program must not read its input.
        if (nothing >= 0) dup2(nothing, STDIN_FILENO);
        execvp(args[0], args.data());
        (void)!write(status[1], &failed, 1);
        _exit(127);
    }
    close(status[1]);
    if (nothing >= 0) close(nothing);
    waitpid(child, nullptr, 0);
    // The pipe closes (close-on-exec) on a successful exec; a byte means failure.
    char failed = 0;
    const bool started = read(status[0], &failed, 1) == 0;
    close(status[0]);
    return started;
}

bool StartCompanion(CompanionLocator& locator, const std::function<bool()>& listening) {
    const std::string path = locator.RunPath();
    if (path.empty() || !LaunchDetached({path})) return false;
    const auto giveUp = std::chrono::steady_clock::now() + kCompanionStartWait;
    for (;;) {
        if (listening && listening()) return true;
        if (std::chrono::steady_clock::now() >= giveUp) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

bool OpenCompanionDownloadPage() {
    return LaunchDetached({"xdg-open", kCompanionDownloadUrl});
}
