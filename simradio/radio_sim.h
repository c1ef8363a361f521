// A simulated radio on the master side of a pseudo-terminal.
//
// The program under test opens the slave side (DevicePath(), or COMn once
// InstallAsCom(n) has linked it into the ports folder) exactly as it would a
// real serial port. The radio answers the frame protocol:
//   11 39 01        ping   -> 01
//   11 39 02        read   -> the 512 memory bytes
//   11 39 K A V     write  -> stores V at (K == 0x13 ? 256 : 0) + A, echoes V
//   11 39 04 00     reset  -> no reply
// and records every frame it receives. Bytes that do not start a known
// frame are recorded as garbage and skipped. Frames may arrive split
// across any number of reads.
#pragma once

#include <array>
#include <chrono>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace sim {

struct Frame {
    std::vector<uint8_t> bytes;  // as received, command bytes included
    bool IsPing() const;
    bool IsRead() const;
    bool IsWrite() const;
    bool IsReset() const;
    int Address() const;  // writes only
    uint8_t Value() const;
};

struct Faults {
    bool silent = false;            // answers nothing at all
    int pingReply = 0x01;           // the byte sent back to a ping
    int extraReplyBytes = 0;        // sent after every reply (0xEE each)
    bool shortImage = false;        // the read reply stops after 511 bytes
    std::set<int> noEchoAt;         // writes to these addresses: stored, no echo
    std::set<int> wrongEchoAt;      // writes here: stored, echo is V XOR 0xFF
    std::set<int> refuseAt;         // writes here: not stored, no echo
    int replyDelayMs = 0;           // before every reply
    int hangUpAfterFrames = -1;     // closes the line after this many frames
                                    // (counted from SetFaults; the last one
                                    // is recorded but not answered)
    bool pacing = false;            // every byte takes 10 bits at baud, in
                                    // both directions
    int baud = 4800;
    bool holdLine = false;          // the program's output is held (as by a
                                    // flow stop): its writes stall
    int hangUpAfterMs = -1;         // closes the line this long after SetFaults
};

class RadioSim {
public:
    RadioSim();  // memory all 0xFF, serving at once
    ~RadioSim();
    RadioSim(const RadioSim&) = delete;
    RadioSim& operator=(const RadioSim&) = delete;

    const std::string& DevicePath() const { return FSlavePath; }
    // Links COMn in the ports folder to this radio (replacing a link).
    void InstallAsCom(int n);
    // The same, but only where the ports folder has no COMn yet; otherwise
    // false, and *refusal says what is there (the link and its target).
    bool AddAsCom(int n, std::string* refusal);

    // Memory. Tests set it before the program reads, and inspect it after.
    std::array<uint8_t, 512> Memory() const;
    void SetMemory(const std::array<uint8_t, 512>& m);
    void SetByte(int address, uint8_t v);
    uint8_t Byte(int address) const;
    // From a file of exactly 512 bytes; on failure *error (if given) says
    // why: the system's reason, or that the size is wrong.
    bool LoadMemory(const std::string& file, std::string* error = nullptr);
    // Into a file, made anew beside it and put in its place whole; on
    // failure *error gives the system's reason.
    bool SaveMemory(const std::string& file, std::string* error) const;

    Faults GetFaults() const;
    void SetFaults(const Faults& f);

    // Every frame received so far, oldest first; garbage bytes are not here.
    std::vector<Frame> Frames() const;
    std::vector<Frame> Writes() const;  // the write frames only
    int CountFrames(bool (Frame::*kind)() const) const;
    std::vector<uint8_t> Garbage() const;
    void ClearFrames();

    // Waits until at least count frames were received; false on time-out.
    bool WaitForFrames(size_t count, int timeoutMs) const;

    // Closes the master side now (the line hangs up).
    void HangUp();

    // Unplugs the cable and plugs it in again, once the program holds the
    // line no more: both sides of the line end and a fresh one takes its
    // place under the same COM names (DevicePath() may change). A real
    // port's tty, and its exclusive mode with it, ends when its last opener
    // goes; a pseudo-terminal keeps it while this side is open. Memory,
    // faults and the frames received are kept.
    void Replug();
    bool IsHungUp() const;

    // The line settings as the program left them on the slave side: the
    // rate (0 when unknown or hung up) and whether TIOCEXCL is set.
    int LineBaud() const;
    bool LineExclusive() const;

private:
    using Clock = std::chrono::steady_clock;

    void OpenLine();
    void StopServing();
    void Serve();
    void Receive(const uint8_t* data, size_t count);
    void HandleFrame(const Frame& frame);
    void Reply(const std::vector<uint8_t>& bytes);
    void Pace(size_t count);
    bool WaitUntil(Clock::time_point t);
    bool WaitPreciselyUntil(Clock::time_point t);
    bool WriteAll(const uint8_t* data, size_t count);
    bool Interrupted();
    void CloseLine();
    Clock::duration ByteTime() const;

    int FMaster = -1;
    std::string FSlavePath;
    int FSlaveKeep = -1;  // keeps the line up while no client has it open
    mutable std::mutex FMutex;
    mutable std::condition_variable FChanged;  // frames received, line closed
    std::array<uint8_t, 512> FMemory;
    Faults FFaults;
    std::vector<Frame> FFrames;
    std::vector<uint8_t> FGarbage;
    std::vector<uint8_t> FPending;  // received, not yet a whole frame
    int FFramesSinceFaults = 0;
    bool FHangUpTimed = false;
    Clock::time_point FHangUpAt;
    Clock::time_point FRxLineFree;
    Clock::time_point FTxLineFree;
    bool FHungUp = false;
    std::atomic<bool> FHangUpRequested{false};
    std::vector<int> FInstalled;
    std::atomic<bool> FStop{false};
    int FWakePipe[2] = {-1, -1};
    std::thread FThread;
};

}  // namespace sim
