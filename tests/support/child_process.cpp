#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

namespace test_env {
namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point end) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    FPid = fork();
    if (FPid < 0) throw std::runtime_error("fork failed");
    if (FPid == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        // The test's own handling of signals is not the program's.
        for (int sig : {SIGPIPE, SIGINT, SIGTERM, SIGHUP}) signal(sig, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    FIn = in[1];
    FOut = out[0];
    FErr = err[0];
    fcntl(FOut, F_SETFL, O_NONBLOCK);
    fcntl(FErr, F_SETFL, O_NONBLOCK);
}

ChildProcess::~ChildProcess() {
    if (FStatus == -1 && FPid > 0) {
        kill(FPid, SIGKILL);
        waitpid(FPid, nullptr, 0);
    }
    for (int fd : {FIn, FOut, FErr})
        if (fd >= 0) close(fd);
}

void ChildProcess::Send(const std::string& line) {
    // A process that has ended makes the write fail, not the test.
    void (*previous)(int) = signal(SIGPIPE, SIG_IGN);
    const std::string text = line + "\n";
    (void)!write(FIn, text.data(), text.size());
    signal(SIGPIPE, previous);
}

bool ChildProcess::Collect(int timeoutMs) {
    pollfd fds[2] = {{FOut, POLLIN, 0}, {FErr, POLLIN, 0}};
    if (poll(fds, 2, timeoutMs) <= 0) return false;
    bool got = false;
    char bytes[4096];
    for (int i = 0; i < 2; ++i) {
        if (!(fds[i].revents & (POLLIN | POLLHUP))) continue;
        const ssize_t n = read(fds[i].fd, bytes, sizeof bytes);
        if (n > 0) {
            (i == 0 ? FOutput : FErrors).append(bytes, static_cast<size_t>(n));
            got = true;
        }
    }
    return got;
}

bool ChildProcess::ReadLine(std::string* line, int timeoutMs) {
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const size_t newline = FOutput.find('\n');
        if (newline != std::string::npos) {
            *line = FOutput.substr(0, newline);
            FOutput.erase(0, newline + 1);
            return true;
        }
        if (MsLeft(end) == 0) return false;
        if (!Collect(MsLeft(end))) usleep(5000);  // at the end of its output
    }
}

int ChildProcess::Wait(int timeoutMs) {
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(FPid, &status, WNOHANG);
        if (done == FPid) break;
        if (MsLeft(end) == 0) {
            kill(FPid, SIGKILL);
            waitpid(FPid, nullptr, 0);
            FStatus = -2;
            return -1;
        }
        Collect(std::min(MsLeft(end), 20));
    }
    while (Collect(0)) {
    }
    FStatus = status;
    return status;
}

std::vector<std::string> ChildProcess::RestOfOutput() {
    std::vector<std::string> lines;
    std::string line;
    while (ReadLine(&line, 0)) lines.push_back(line);
    return lines;
}

}  // namespace test_env
