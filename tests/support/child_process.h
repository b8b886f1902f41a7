#pragma once
// A program run beside a test (a simulator, a second instance), with a pipe
// to its standard input. The destructor ends it with SIGTERM and waits for it.

#include <signal.h>
#include <sys/types.h>

#include <string>
#include <vector>

class ChildProcess {
  public:
    enum class Input {
        Pipe,     // Command() writes to it
        Nothing,  // /dev/null, as for a program started by another one
    };

    // argv[0] is the program's path; the child inherits the environment.
    // With outputFile, its standard output and error go there.
    explicit ChildProcess(std::vector<std::string> argv, Input input = Input::Pipe,
                          const std::string& outputFile = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    // Writes a line (or any text) to the child's standard input.
    void Command(const std::string& text);
    // Sends "quit", closes standard input and waits; returns the exit status
    // (-1 when it did not exit normally).
    int Quit();
    // Sends the signal (SIGTERM: asks a program that reads no commands to
    // end) and waits as Wait does, grace seconds at most.
    int Terminate(int signal = SIGTERM, int graceSeconds = 10);
    // Closes standard input and waits for the child to end by itself; its
    // exit status (-1 when it did not exit normally, or is still running
    // after the limit: it is killed).
    int Wait(int limitSeconds = 30);

  private:
    pid_t pid_ = -1;
    int stdin_ = -1;
};
