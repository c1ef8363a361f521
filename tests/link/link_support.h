// Helpers shared by the link tests.
#pragma once

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "Radio_com.h"
#include "simradio/radio_sim.h"
#include "support/test_env.h"

namespace link_test {

using Clock = std::chrono::steady_clock;

inline double MsSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Every byte value at least twice: 0..255 at 0-255, 255..0 at 256-511.
inline std::array<uint8_t, 512> AllValuesImage() {
    std::array<uint8_t, 512> m{};
    for (int i = 0; i < 256; ++i) {
        m[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
        m[static_cast<size_t>(256 + i)] = static_cast<uint8_t>(255 - i);
    }
    return m;
}

inline void FreeScan(PortScanList* list) {
    if (!list) return;
    for (PortScanEntry* e : *list) delete e;
    delete list;
}

// Leaves the line the way a terminal program would: echo, line editing,
// signals, XON/XOFF, CR/LF translation. Opening the port must undo it all.
inline void MakeLineCooked(const std::string& device) {
    int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) throw std::runtime_error("cannot open " + device);
    termios t;
    tcgetattr(fd, &t);
    t.c_iflag |= ICRNL | INLCR | IXON | IXOFF | IXANY | BRKINT | IMAXBEL | ISTRIP;
    t.c_oflag |= OPOST | ONLCR | OCRNL;
    t.c_lflag |= ECHO | ECHOE | ECHOK | ICANON | ISIG | IEXTEN;
    t.c_cflag |= CRTSCTS;
    t.c_cflag &= ~CLOCAL;
    tcsetattr(fd, TCSANOW, &t);
    close(fd);
}

// A bare pseudo-terminal pair linked into the ports folder as COMn, for
// tests that drive the far end of the line byte by byte themselves.
class BareLine {
public:
    explicit BareLine(int com) : FCom(com) {
        if (openpty(&FMaster, &FSlave, nullptr, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty failed");
        char name[128];
        ptsname_r(FMaster, name, sizeof name);
        FPath = name;
        termios t;
        tcgetattr(FSlave, &t);
        cfmakeraw(&t);
        tcsetattr(FSlave, TCSANOW, &t);
        test_env::SetComPort(com, FPath);
    }
    ~BareLine() {
        test_env::RemoveComPort(FCom);
        CloseMaster();
        close(FSlave);
    }
    BareLine(const BareLine&) = delete;
    BareLine& operator=(const BareLine&) = delete;

    void Send(const std::vector<uint8_t>& bytes) { (void)!write(FMaster, bytes.data(), bytes.size()); }
    // What the program sent, waiting up to timeoutMs for count bytes.
    std::vector<uint8_t> Received(size_t count, int timeoutMs = 1000) {
        std::vector<uint8_t> got;
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        fcntl(FMaster, F_SETFL, fcntl(FMaster, F_GETFL) | O_NONBLOCK);
        while (got.size() < count && Clock::now() < end) {
            uint8_t b[256];
            ssize_t r = read(FMaster, b, sizeof b);
            if (r > 0) got.insert(got.end(), b, b + r);
            else usleep(2000);
        }
        return got;
    }
    void CloseMaster() {
        if (FMaster >= 0) close(FMaster);
        FMaster = -1;
    }
    int SlaveFd() const { return FSlave; }
    const std::string& Path() const { return FPath; }

private:
    int FCom;
    int FMaster = -1;
    int FSlave = -1;
    std::string FPath;
};

}  // namespace link_test
