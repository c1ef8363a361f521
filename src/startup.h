// The entry function's guard: what leaves the start-up steps ends at the
// application's exception box, and the program's result is 0 in any case.
#pragma once

#include <functional>

// Sets up the process (a write past the file-size limit fails instead of
// ending the program; while steps run, SIGTERM, SIGINT and SIGHUP end the
// message loop as Exit does), then runs steps; an Exception that leaves them is
// shown with ShowException, any other thrown object as an Exception with
// an empty message. Returns 0.
int RunGuarded(const std::function<void()>& steps);
