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

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

int g_pipe[2] = {-1, -1};
volatile sig_atomic_t g_writeEnd = -1;
struct sigaction g_previous[3];
bool g_installed = false;

extern "C" void NoteStopSignal(int) {
    const int saved = errno;
    const int fd = g_writeEnd;
    if (fd >= 0) {
        const char byte = 's';
        (void)!write(fd, &byte, 1);  // a full pipe already says enough
    }
    process_stop::NoteRequest();
    errno = saved;
}

}  // namespace

StopSignals::StopSignals() {
    if (g_installed || pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    g_writeEnd = g_pipe[1];
    struct sigaction action {};
    action.sa_handler = NoteStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;  // the program's own calls carry on
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &g_previous[i]);
    g_installed = true;
    FOwner = true;
}

StopSignals::~StopSignals() {
    if (!FOwner) return;
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &g_previous[i], nullptr);
    g_writeEnd = -1;
    close(g_pipe[0]);
    close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
    g_installed = false;
}

int StopSignalDescriptor() { return g_installed ? g_pipe[0] : -1; }

void DrainStopSignals() {
    if (!g_installed) return;
    char bytes[64];
    while (read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
}

}  // namespace vcl
