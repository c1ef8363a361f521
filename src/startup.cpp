// The entry function's guard.
#include "startup.h"

#include <signal.h>

#include "platform/vcl/stop_signals.h"
#include "platform/vcl/vcl.h"

int RunGuarded(const std::function<void()>& steps) {
    // A write past the process's file-size limit then fails like any other
    // short write (and the settings writer reports it) instead of ending
    // the program on the spot.
    signal(SIGXFSZ, SIG_IGN);
    try {
        // SIGTERM, SIGINT and SIGHUP end the program as Exit does.
        vcl::StopSignals stopSignals;
        steps();
    } catch (const Exception& e) {
        Application->ShowException(e);
    } catch (...) {
        Application->ShowException(Exception(""));
    }
    return 0;
}
