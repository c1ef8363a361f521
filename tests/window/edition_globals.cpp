// The full edition has no globals of its own: its range is the Options
// page's group, made with each window.
#include "window/main_window_fixture.h"

void ResetEditionGlobals() {}
