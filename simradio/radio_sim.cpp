#include "radio_sim.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <stdexcept>

#include "platform/win32/com_ports.h"

namespace fs = std::filesystem;

namespace sim {
namespace {

using Clock = std::chrono::steady_clock;

constexpr uint8_t ExtraByte = 0xEE;

timespec ToTimespec(std::chrono::nanoseconds ns) {
    if (ns.count() < 0) ns = std::chrono::nanoseconds(0);
    return timespec{static_cast<time_t>(ns.count() / 1000000000),
                    static_cast<long>(ns.count() % 1000000000)};
}

void SetCloexec(int fd) { fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | FD_CLOEXEC); }

// Frame length from its command byte; 0 when the byte starts no frame.
size_t FrameLength(uint8_t command) {
    switch (command) {
        case 0x01:
        case 0x02: return 3;
        case 0x03:
        case 0x13: return 5;
        case 0x04: return 4;
        default: return 0;
    }
}

}  // namespace

bool Frame::IsPing() const { return bytes.size() == 3 && bytes[2] == 0x01; }
bool Frame::IsRead() const { return bytes.size() == 3 && bytes[2] == 0x02; }
bool Frame::IsWrite() const { return bytes.size() == 5 && (bytes[2] == 0x03 || bytes[2] == 0x13); }
bool Frame::IsReset() const { return bytes.size() == 4 && bytes[2] == 0x04; }
int Frame::Address() const { return IsWrite() ? (bytes[2] == 0x13 ? 256 : 0) + bytes[3] : -1; }
uint8_t Frame::Value() const { return IsWrite() ? bytes[4] : 0; }

RadioSim::RadioSim() {
    FMemory.fill(0xFF);
    if (pipe2(FWakePipe, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("pipe failed");
    OpenLine();
    FThread = std::thread([this] { Serve(); });
}

RadioSim::~RadioSim() {
    StopServing();
    if (FMaster >= 0) close(FMaster);
    close(FSlaveKeep);
    close(FWakePipe[0]);
    close(FWakePipe[1]);
    const std::string folder = com_ports::PortsFolder();
    for (int n : FInstalled) {
        const std::string link = folder + "/COM" + std::to_string(n);
        std::error_code ec;
        if (fs::read_symlink(link, ec) == FSlavePath) fs::remove(link, ec);
    }
}

// A new pseudo-terminal, raw on the slave side, which stays open.
void RadioSim::OpenLine() {
    if (openpty(&FMaster, &FSlaveKeep, nullptr, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    char name[128];
    if (ptsname_r(FMaster, name, sizeof name) != 0) throw std::runtime_error("ptsname failed");
    FSlavePath = name;
    SetCloexec(FMaster);
    SetCloexec(FSlaveKeep);
    fcntl(FMaster, F_SETFL, fcntl(FMaster, F_GETFL) | O_NONBLOCK);
    termios t;
    tcgetattr(FSlaveKeep, &t);
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    tcsetattr(FSlaveKeep, TCSANOW, &t);
}

void RadioSim::StopServing() {
    FStop = true;
    (void)!write(FWakePipe[1], "x", 1);
    FThread.join();
}

void RadioSim::Replug() {
    StopServing();
    // With the program's openers gone, closing both ends frees the line.
    if (FMaster >= 0) close(FMaster);
    close(FSlaveKeep);
    const std::string oldPath = FSlavePath;
    OpenLine();
    std::vector<int> installed;
    bool hold;
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FHungUp = false;
        FPending.clear();
        installed = FInstalled;
        hold = FFaults.holdLine;
    }
    FHangUpRequested = false;
    if (hold) tcflow(FSlaveKeep, TCOOFF);
    const std::string folder = com_ports::PortsFolder();
    for (int n : installed) {
        const std::string link = folder + "/COM" + std::to_string(n);
        std::error_code ec;
        if (fs::read_symlink(link, ec) != oldPath) continue;
        fs::remove(link, ec);
        fs::create_symlink(FSlavePath, link, ec);
    }
    FStop = false;
    FThread = std::thread([this] { Serve(); });
}

void RadioSim::InstallAsCom(int n) {
    const std::string folder = com_ports::PortsFolder();
    fs::create_directories(folder);
    const std::string link = folder + "/COM" + std::to_string(n);
    std::error_code ec;
    fs::remove(link, ec);
    fs::create_symlink(FSlavePath, link);
    std::lock_guard<std::mutex> lock(FMutex);
    FInstalled.push_back(n);
}

std::array<uint8_t, 512> RadioSim::Memory() const {
    std::lock_guard<std::mutex> lock(FMutex);
    return FMemory;
}

void RadioSim::SetMemory(const std::array<uint8_t, 512>& m) {
    std::lock_guard<std::mutex> lock(FMutex);
    FMemory = m;
}

void RadioSim::SetByte(int address, uint8_t v) {
    std::lock_guard<std::mutex> lock(FMutex);
    FMemory.at(static_cast<size_t>(address)) = v;
}

uint8_t RadioSim::Byte(int address) const {
    std::lock_guard<std::mutex> lock(FMutex);
    return FMemory.at(static_cast<size_t>(address));
}

Faults RadioSim::GetFaults() const {
    std::lock_guard<std::mutex> lock(FMutex);
    return FFaults;
}

void RadioSim::SetFaults(const Faults& f) {
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FFaults = f;
        FFramesSinceFaults = 0;
        FHangUpTimed = f.hangUpAfterMs >= 0;
        FHangUpAt = Clock::now() + std::chrono::milliseconds(std::max(0, f.hangUpAfterMs));
    }
    if (!IsHungUp()) tcflow(FSlaveKeep, f.holdLine ? TCOOFF : TCOON);
    (void)!write(FWakePipe[1], "x", 1);  // the serve loop takes up the new timer
}

std::vector<Frame> RadioSim::Frames() const {
    std::lock_guard<std::mutex> lock(FMutex);
    return FFrames;
}

std::vector<Frame> RadioSim::Writes() const {
    std::vector<Frame> writes;
    for (const Frame& f : Frames())
        if (f.IsWrite()) writes.push_back(f);
    return writes;
}

int RadioSim::CountFrames(bool (Frame::*kind)() const) const {
    std::lock_guard<std::mutex> lock(FMutex);
    return static_cast<int>(std::count_if(FFrames.begin(), FFrames.end(),
                                          [kind](const Frame& f) { return (f.*kind)(); }));
}

std::vector<uint8_t> RadioSim::Garbage() const {
    std::lock_guard<std::mutex> lock(FMutex);
    return FGarbage;
}

void RadioSim::ClearFrames() {
    std::lock_guard<std::mutex> lock(FMutex);
    FFrames.clear();
    FGarbage.clear();
}

bool RadioSim::WaitForFrames(size_t count, int timeoutMs) const {
    std::unique_lock<std::mutex> lock(FMutex);
    return FChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return FFrames.size() >= count; });
}

void RadioSim::HangUp() {
    if (std::this_thread::get_id() == FThread.get_id()) {
        CloseLine();
        return;
    }
    FHangUpRequested = true;
    (void)!write(FWakePipe[1], "x", 1);
    std::unique_lock<std::mutex> lock(FMutex);
    FChanged.wait(lock, [this] { return FHungUp; });
}

bool RadioSim::IsHungUp() const {
    std::lock_guard<std::mutex> lock(FMutex);
    return FHungUp;
}

int RadioSim::LineBaud() const {
    termios t;
    if (tcgetattr(FSlaveKeep, &t) != 0) return 0;
    static const std::pair<speed_t, int> rates[] = {
        {B1200, 1200},   {B2400, 2400},   {B4800, 4800},   {B9600, 9600},
        {B19200, 19200}, {B38400, 38400}, {B57600, 57600}, {B115200, 115200}};
    for (const auto& [speed, rate] : rates)
        if (cfgetospeed(&t) == speed) return rate;
    return 0;
}

bool RadioSim::LineExclusive() const {
    int exclusive = 0;
    return ioctl(FSlaveKeep, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
}

// --- the serving thread -------------------------------------------------

void RadioSim::Serve() {
    prctl(PR_SET_TIMERSLACK, 1UL);  // paced bytes leave on time
    uint8_t chunk[4096];
    while (!FStop) {
        if (FHangUpRequested) {
            CloseLine();
            FHangUpRequested = false;
        }
        bool timed;
        Clock::time_point hangUpAt;
        {
            std::lock_guard<std::mutex> lock(FMutex);
            timed = FHangUpTimed;
            hangUpAt = FHangUpAt;
        }
        if (timed && Clock::now() >= hangUpAt) {
            CloseLine();
            continue;
        }
        pollfd fds[2] = {{FWakePipe[0], POLLIN, 0}, {FMaster, POLLIN, 0}};
        timespec wait;
        timespec* waitPtr = nullptr;
        if (timed) {
            wait = ToTimespec(hangUpAt - Clock::now());
            waitPtr = &wait;
        }
        if (ppoll(fds, FMaster >= 0 ? 2 : 1, waitPtr, nullptr) < 0) continue;
        if (fds[0].revents & POLLIN)
            while (read(FWakePipe[0], chunk, sizeof chunk) > 0) {
            }
        if (FMaster < 0 || !(fds[1].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        ssize_t r = read(FMaster, chunk, sizeof chunk);
        if (r > 0) {
            Receive(chunk, static_cast<size_t>(r));
        } else if (r < 0 && errno != EAGAIN && errno != EINTR) {
            // No slave side at all (cannot happen while FSlaveKeep is open):
            // do not spin.
            timespec pause{0, 10000000};
            nanosleep(&pause, nullptr);
        }
    }
}

RadioSim::Clock::duration RadioSim::ByteTime() const {
    int baud;
    {
        std::lock_guard<std::mutex> lock(FMutex);
        baud = std::max(1, FFaults.baud);
    }
    return std::chrono::nanoseconds(10LL * 1000000000LL / baud);
}

// Incoming bytes take their time on the line too: a frame is acted on only
// once its last byte has fully arrived.
void RadioSim::Pace(size_t count) {
    if (!GetFaults().pacing) return;
    FRxLineFree = std::max(Clock::now(), FRxLineFree) + ByteTime() * static_cast<long>(count);
    WaitPreciselyUntil(FRxLineFree);
}

// The line's timing must not include the thread's own wake-up latency:
// sleep until just before the moment, then spin the rest.
bool RadioSim::WaitPreciselyUntil(Clock::time_point t) {
    constexpr auto spin = std::chrono::microseconds(250);
    if (!WaitUntil(t - spin)) return false;
    while (Clock::now() < t) {
        if (Interrupted()) return false;
    }
    return true;
}

void RadioSim::Receive(const uint8_t* data, size_t count) {
    Pace(count);
    FPending.insert(FPending.end(), data, data + count);
    size_t i = 0;
    while (i < FPending.size() && FMaster >= 0) {
        const size_t avail = FPending.size() - i;
        bool garbage = false;
        size_t length = 0;
        if (FPending[i] != 0x11) {
            garbage = true;
        } else if (avail >= 2 && FPending[i + 1] != 0x39) {
            garbage = true;
        } else if (avail >= 3) {
            length = FrameLength(FPending[i + 2]);
            garbage = length == 0;
        }
        if (garbage) {
            std::lock_guard<std::mutex> lock(FMutex);
            FGarbage.push_back(FPending[i]);
            ++i;
            continue;
        }
        if (length == 0 || avail < length) break;  // wait for the rest
        Frame frame{std::vector<uint8_t>(FPending.begin() + static_cast<long>(i),
                                         FPending.begin() + static_cast<long>(i + length))};
        i += length;
        HandleFrame(frame);
    }
    if (FMaster < 0) i = FPending.size();  // hung up: the rest is lost
    FPending.erase(FPending.begin(), FPending.begin() + static_cast<long>(i));
}

void RadioSim::HandleFrame(const Frame& frame) {
    Faults faults;
    int sinceFaults;
    std::vector<uint8_t> reply;
    bool answer = true;
    bool hangUp = false;
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FFrames.push_back(frame);
        faults = FFaults;
        sinceFaults = ++FFramesSinceFaults;
        hangUp = faults.hangUpAfterFrames >= 0 && sinceFaults >= std::max(1, faults.hangUpAfterFrames);
        if (hangUp || faults.silent) {
            answer = false;
        } else if (frame.IsPing()) {
            reply.push_back(static_cast<uint8_t>(faults.pingReply));
        } else if (frame.IsRead()) {
            reply.assign(FMemory.begin(), FMemory.end() - (faults.shortImage ? 1 : 0));
        } else if (frame.IsWrite()) {
            const int a = frame.Address();
            const uint8_t v = frame.Value();
            if (faults.refuseAt.count(a)) {
                answer = false;
            } else {
                FMemory[static_cast<size_t>(a)] = v;
                if (faults.noEchoAt.count(a)) answer = false;
                else reply.push_back(faults.wrongEchoAt.count(a) ? static_cast<uint8_t>(v ^ 0xFF) : v);
            }
        } else {
            answer = false;  // reset: no reply
        }
    }
    FChanged.notify_all();
    if (hangUp) {  // in the middle of the exchange: the request is not answered
        CloseLine();
        return;
    }
    if (!answer) return;
    if (faults.replyDelayMs > 0 && !WaitUntil(Clock::now() + std::chrono::milliseconds(faults.replyDelayMs)))
        return;
    reply.insert(reply.end(), static_cast<size_t>(std::max(0, faults.extraReplyBytes)), ExtraByte);
    Reply(reply);
}

// Sends a reply; when pacing, each byte becomes readable only once its ten
// bits have passed on the line.
void RadioSim::Reply(const std::vector<uint8_t>& bytes) {
    if (!GetFaults().pacing) {
        WriteAll(bytes.data(), bytes.size());
        return;
    }
    const Clock::duration byteTime = ByteTime();
    const Clock::time_point start = std::max(Clock::now(), FTxLineFree);
    FTxLineFree = start + byteTime * static_cast<long>(bytes.size());
    size_t sent = 0;
    while (sent < bytes.size()) {
        const auto due = static_cast<size_t>((Clock::now() - start) / byteTime);
        const size_t upTo = std::min(bytes.size(), due);
        if (upTo > sent) {
            if (!WriteAll(bytes.data() + sent, upTo - sent)) return;
            sent = upTo;
        } else if (!WaitPreciselyUntil(start + byteTime * static_cast<long>(sent + 1))) {
            return;
        }
    }
}

// True when the thread must stop what it is doing: ending, or a hang-up
// asked for or due.
bool RadioSim::Interrupted() {
    if (FStop || FHangUpRequested || FMaster < 0) return true;
    std::lock_guard<std::mutex> lock(FMutex);
    return FHangUpTimed && Clock::now() >= FHangUpAt;
}

bool RadioSim::WaitUntil(Clock::time_point t) {
    for (;;) {
        if (Interrupted()) return false;
        const Clock::time_point now = Clock::now();
        if (now >= t) return true;
        timespec wait = ToTimespec(t - now);
        pollfd wake{FWakePipe[0], POLLIN, 0};
        if (ppoll(&wake, 1, &wait, nullptr) > 0) {
            uint8_t drain[64];
            while (read(FWakePipe[0], drain, sizeof drain) > 0) {
            }
        }
    }
}

bool RadioSim::WriteAll(const uint8_t* data, size_t count) {
    size_t done = 0;
    while (done < count) {
        if (Interrupted()) return false;
        ssize_t r = write(FMaster, data + done, count - done);
        if (r > 0) {
            done += static_cast<size_t>(r);
            continue;
        }
        if (r < 0 && errno != EAGAIN && errno != EINTR) return false;
        // The slave's input queue is full: wait until the program reads.
        pollfd fds[2] = {{FWakePipe[0], POLLIN, 0}, {FMaster, POLLOUT, 0}};
        timespec wait{0, 50000000};
        if (ppoll(fds, 2, &wait, nullptr) > 0 && (fds[0].revents & POLLIN)) {
            uint8_t drain[64];
            while (read(FWakePipe[0], drain, sizeof drain) > 0) {
            }
        }
    }
    return true;
}

void RadioSim::CloseLine() {
    if (FMaster >= 0) {
        close(FMaster);
        FMaster = -1;
    }
    std::lock_guard<std::mutex> lock(FMutex);
    FHungUp = true;
    FHangUpTimed = false;
    FChanged.notify_all();
}

}  // namespace sim
