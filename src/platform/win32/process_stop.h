// A request that the program end (a stop signal), as the serial side of the
// Win32 stand-in needs to know it: from then on the first exchange on a
// serial line that fails gives the line up, and every later read or write
// on a serial handle fails at once without touching the line. An operation
// with the radio then runs through its remaining steps in moments instead
// of waiting out a time-out on each, and sends the radio nothing more.
#pragma once

namespace process_stop {

// Notes the request; safe in a signal handler.
void NoteRequest();

}  // namespace process_stop
