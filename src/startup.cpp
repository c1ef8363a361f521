// The entry function's guard.
#include "startup.h"

#include "platform/vcl/stop_signals.h"
#include "platform/vcl/vcl.h"
#include "platform/win32/careful_save.h"

int RunGuarded(const std::function<void()>& steps) {
    careful_save::FailWritesPastTheSizeLimit();
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
