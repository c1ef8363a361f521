// The stop signals, noted through a pipe that the message loop watches. The
// handler only writes one byte, and tells the serial lines that a stop is
// asked: that is all a signal handler may safely do while the program is
// anywhere in its work.
#include "platform/vcl/stop_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "platform/win32/process_stop.h"

namespace vcl {
namespace {

constexpr int StopSignalNumbers[] = {SIGTERM, SIGINT, SIGHUP};

int StopPipe[2] = {-1, -1};
volatile sig_atomic_t WriteEnd = -1;
struct sigaction PreviousActions[3];
bool Installed = false;

extern "C" void NoteStopSignal(int) {
    const int saved = errno;
    const int fd = WriteEnd;
    if (fd >= 0) {
        const char byte = 's';
        (void)!write(fd, &byte, 1);  // a full pipe already says enough
    }
    process_stop::NoteRequest();
    errno = saved;
}

}  // namespace

StopSignals::StopSignals() {
    if (Installed || pipe2(StopPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    WriteEnd = StopPipe[1];
    struct sigaction action {};
    action.sa_handler = NoteStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;  // the program's own calls carry on
    for (int i = 0; i < 3; ++i) sigaction(StopSignalNumbers[i], &action, &PreviousActions[i]);
    Installed = true;
    FOwner = true;
}

StopSignals::~StopSignals() {
    if (!FOwner) return;
    for (int i = 0; i < 3; ++i) sigaction(StopSignalNumbers[i], &PreviousActions[i], nullptr);
    WriteEnd = -1;
    close(StopPipe[0]);
    close(StopPipe[1]);
    StopPipe[0] = StopPipe[1] = -1;
    Installed = false;
}

int StopSignalDescriptor() { return Installed ? StopPipe[0] : -1; }

void DrainStopSignals() {
    if (!Installed) return;
    char bytes[64];
    while (read(StopPipe[0], bytes, sizeof bytes) > 0) {
    }
}

}  // namespace vcl
