// How close the link comes to the line's own time: ReadImage and one
// WriteByte exchange against a simulated radio that takes 10 bits per byte
// in both directions, at each rate the program offers.
//
// Wire time: a read is 3 bytes out and 512 in (515 bytes), a write 5 out
// and 1 echo in (6 bytes). The ratio is the measured median over the wire
// time; 1.00x means the program adds nothing measurable to the line.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "Radio_com.h"
#include "simradio/radio_sim.h"
#include "support/test_env.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int ReadRepetitions = 5;
constexpr int WriteRepetitions = 30;
constexpr double GoalRatio = 1.05;

struct Result {
    double medianMs = 0, bestMs = 0, worstMs = 0;
    bool allOk = true;
};

template <typename F>
Result Measure(int repetitions, F exchange) {
    std::vector<double> ms;
    Result r;
    for (int i = 0; i < repetitions; ++i) {
        const auto t0 = Clock::now();
        const bool ok = exchange(i);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        r.allOk = r.allOk && ok;
    }
    std::sort(ms.begin(), ms.end());
    r.medianMs = ms[ms.size() / 2];
    r.bestMs = ms.front();
    r.worstMs = ms.back();
    return r;
}

double WireMs(int bytes, int baud) { return bytes * 10 * 1000.0 / baud; }

bool PrintRow(int baud, const char* what, int bytes, const Result& r) {
    const double wire = WireMs(bytes, baud);
    const double ratio = r.medianMs / wire;
    std::printf("%6d  %-10s %5d  %9.2f  %9.2f  %9.2f  %9.2f  %6.3fx  %s\n", baud, what, bytes, wire,
                r.medianMs, r.bestMs, r.worstMs, ratio, r.allOk ? "ok" : "EXCHANGE FAILED");
    return r.allOk && ratio <= GoalRatio;
}

}  // namespace

int main() {
    test_env::Setup();  // a private ports folder; the machine's own ports are not touched

    std::array<uint8_t, 512> memory;
    for (size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<uint8_t>(i * 37 + 11);

    std::printf("Link against the line-paced simulated radio (10 bits per byte, both ways)\n");
    std::printf("read: %d repetitions, write: %d repetitions; times in ms\n\n", ReadRepetitions,
                WriteRepetitions);
    std::printf("%6s  %-10s %5s  %9s  %9s  %9s  %9s  %7s\n", "baud", "exchange", "bytes", "wire",
                "median", "best", "worst", "ratio");
    bool allMet = true;
    for (int baud : {4800, 9600, 19200}) {
        sim::RadioSim radio;
        radio.SetMemory(memory);
        sim::Faults paced;
        paced.pacing = true;
        paced.baud = baud;
        radio.SetFaults(paced);
        radio.InstallAsCom(1);

        TRadiocomm link;
        link.SetTimeouts(1000);  // as the main window sets it
        if (link.OpenPort(1, baud) != 0) {
            std::printf("%6d  the simulated radio did not answer the ping\n", baud);
            return 1;
        }
        const Result read = Measure(ReadRepetitions, [&](int) {
            BYTE* image = link.ReadImage();
            return image && std::memcmp(image, memory.data(), memory.size()) == 0;
        });
        const Result write = Measure(WriteRepetitions, [&](int i) {
            const uint32_t address = static_cast<uint32_t>(i * 17) % 512;
            const BYTE value = memory[address];  // keep the memory as it is
            return link.WriteByte(address, value) == 0;
        });
        link.ClosePort();
        allMet = PrintRow(baud, "ReadImage", 515, read) && allMet;
        allMet = PrintRow(baud, "WriteByte", 6, write) && allMet;
    }

    // What the pseudo-terminal and the simulated radio cost by themselves:
    // the same write exchange with pacing off.
    {
        sim::RadioSim radio;
        radio.SetMemory(memory);
        radio.InstallAsCom(1);
        TRadiocomm link;
        link.SetTimeouts(1000);
        if (link.OpenPort(1, 9600) == 0) {
            const Result floor = Measure(200, [&](int i) {
                const uint32_t address = static_cast<uint32_t>(i * 17) % 512;
                return link.WriteByte(address, memory[address]) == 0;
            });
            std::printf("\nunpaced WriteByte (pty and simulated radio, no line time): median %.3f ms, best %.3f ms\n",
                        floor.medianMs, floor.bestMs);
        }
        link.ClosePort();
    }
    std::printf("goal: median at most %.2fx the wire time: %s\n", GoalRatio, allMet ? "met" : "NOT met");
    return 0;
}
