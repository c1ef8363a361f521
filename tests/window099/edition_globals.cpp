// The earlier edition's own global: the range of the radio last read, 0
// until a Read succeeds.
#include "window/main_window_fixture.h"

void ResetEditionGlobals() { RangeIndex = 0; }
