#pragma once
// A program run beside a test (a simulator, a second instance), with a pipe
// to its standard input. The destructor asks it to quit and waits for it.

#include <sys/types.h>

#include <string>
#include <vector>

class ChildProcess {
  public:
    // argv[0] is the program's path; the child inherits the environment.
    explicit ChildProcess(std::vector<std::string> argv);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    // Writes a line (or any text) to the child's standard input.
    void Command(const std::string& text);
    // Sends "quit", closes standard input and waits; returns the exit status
    // (-1 when it did not exit normally).
    int Quit();
    // For a program that reads no commands: asks it to end with SIGTERM,
    // kills it when it has not ended after grace, and returns its exit
    // status (-1 when it did not exit normally).
    int Terminate(int graceSeconds = 10);
    // Waits for the child to end on its own; its exit status (-1 when it did
    // not exit normally, or is still running after the limit: it is killed).
    int Wait(int limitSeconds = 30);

  private:
    pid_t pid_ = -1;
    int stdin_ = -1;
};
