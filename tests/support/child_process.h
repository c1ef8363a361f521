// A program of the build run as a process of its own, as a user runs it:
// a line at a time to its standard input; what it writes to its standard
// output and error lands in files of the test's own, read as it goes. It
// inherits the test's environment (ports folder, display platform).
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/test_env.h"

namespace test_env {

// All a file holds; empty when there is no such file.
inline std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& argv) : FDir(MakeTempDir("child")) {
        const std::string out = FDir + "/stdout", err = FDir + "/stderr";
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        int in[2];
        if (pipe2(in, O_CLOEXEC) != 0 || (FPid = fork()) < 0) throw std::runtime_error("cannot start");
        if (FPid == 0) {
            dup2(in[0], STDIN_FILENO);
            dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600), STDOUT_FILENO);
            dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600), STDERR_FILENO);
            // The test's own handling of signals is not the program's.
            for (int sig : {SIGPIPE, SIGINT, SIGTERM, SIGHUP}) signal(sig, SIG_DFL);
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            execv(args[0], args.data());
            _exit(127);
        }
        close(in[0]);
        FIn = in[1];
    }
    ~ChildProcess() {
        if (!FEnded) {
            kill(FPid, SIGKILL);
            waitpid(FPid, nullptr, 0);
        }
        close(FIn);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return FPid; }

    // One line to its standard input; once it has ended the write fails,
    // not the test.
    void Send(const std::string& line) {
        void (*previous)(int) = signal(SIGPIPE, SIG_IGN);
        const std::string text = line + "\n";
        (void)!write(FIn, text.data(), text.size());
        signal(SIGPIPE, previous);
    }

    // All it wrote to its standard output and error so far.
    std::string Output() const { return FileText(FDir + "/stdout"); }
    std::string Errors() const { return FileText(FDir + "/stderr"); }

    // The next line of its standard output, waiting up to timeoutMs for it.
    bool ReadLine(std::string* line, int timeoutMs) {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const std::string out = Output();
            const size_t newline = out.find('\n', FRead);
            if (newline != std::string::npos) {
                *line = out.substr(FRead, newline - FRead);
                FRead = newline + 1;
                return true;
            }
            if (Clock::now() >= end) return false;
            usleep(5000);
        }
    }

    // Waits up to timeoutMs for it to end: its exit code, or 128 + the
    // signal that ended it, as a shell tells; -1 when it did not end in
    // time (it is killed then).
    int Wait(int timeoutMs) {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        int status = 0;
        while (waitpid(FPid, &status, WNOHANG) != FPid) {
            if (Clock::now() >= end) {
                kill(FPid, SIGKILL);  // and reaped when let go
                return -1;
            }
            usleep(10000);
        }
        FEnded = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    using Clock = std::chrono::steady_clock;
    const std::string FDir;  // its standard output and error
    pid_t FPid = -1;
    int FIn = -1;
    size_t FRead = 0;  // how much of its output ReadLine has given
    bool FEnded = false;
};

}  // namespace test_env
