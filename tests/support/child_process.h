// A program of the build run as a process of its own, as a user runs it:
// its standard input to write to, its standard output and error to read.
// It inherits the test's environment (ports folder, display platform).
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace test_env {

class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& argv);
    ~ChildProcess();  // kills the process if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return FPid; }
    void Send(const std::string& line);  // one line to its standard input
    // The next line of its standard output, waiting up to timeoutMs; false
    // on time-out or at the end of its output.
    bool ReadLine(std::string* line, int timeoutMs);
    // Waits up to timeoutMs for the process to end; its wait status, or -1
    // when it did not end (it is killed then). Its remaining output is
    // collected meanwhile.
    int Wait(int timeoutMs);
    // Everything it wrote to standard error, and the standard output lines
    // not yet read (after Wait).
    const std::string& Errors() const { return FErrors; }
    std::vector<std::string> RestOfOutput();

private:
    bool Collect(int timeoutMs);  // reads what is there; false when nothing came
    pid_t FPid = -1;
    int FIn = -1, FOut = -1, FErr = -1;
    std::string FOutput, FErrors;
    int FStatus = -1;
};

}  // namespace test_env
