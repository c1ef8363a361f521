// The signals that ask a program to end: SIGTERM (kill, and a desktop
// session that ends), SIGINT (Ctrl+C in the terminal it was started from)
// and SIGHUP (that terminal, or the session, going away).
#pragma once

namespace vcl {

// While an object of this class lives, these signals do not end the process
// on the spot: each is noted, and the application's message loop then ends
// the run as Terminate does, once the event it is handling is over. An
// operation with the radio blocks the loop: it goes on while the radio
// answers, and from its first exchange that fails the rest fail at once
// (process_stop.h). A signal that comes before the loop runs ends the run
// as soon as the loop starts. The destructor gives the signals back their
// earlier handling.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    bool FOwner = false;  // false for one made while another lives
};

// Where the signals are noted: a descriptor that becomes readable when one
// came. -1 while no StopSignals object lives.
int StopSignalDescriptor();

// Takes back what the descriptor holds once the loop has seen it.
void DrainStopSignals();

}  // namespace vcl
