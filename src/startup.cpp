// The entry function's guard.
#include "startup.h"

#include "platform/vcl/vcl.h"

int RunGuarded(const std::function<void()>& steps) {
    try {
        steps();
    } catch (const Exception& e) {
        Application->ShowException(e);
    } catch (...) {
        Application->ShowException(Exception(""));
    }
    return 0;
}
