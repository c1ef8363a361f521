// How close reading and writing through the main window come to the time
// the bytes need on the line.
//
// Against a simulated radio that sends every byte at the chosen rate (10
// bits a byte), at 4800 and 19200 baud: a Read (Button3), and a channel
// write after one row's receive frequency was changed (WriteChannels alone:
// the reset and its fixed 2 s pause are left out). For each: the exchanges
// sent, the time taken (median of three runs), the wire time of those
// exchanges (frames out and replies in) and the ratio of the two.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "main_form.h"
#include "platform/vcl/vcl.h"
#include "simradio/radio_sim.h"
#include "support/test_env.h"
#include "window/radio_test_helpers.h"

namespace {

constexpr int Runs = 3;

struct Result {
    const char* operation;
    int baud;
    int exchanges;
    int expected;
    double seconds;
    double wireSeconds;
};

// Bytes on the line for the frames the radio received: each frame and the
// reply it gets (ping 1, read 512, write 1 echo, reset none).
long WireBytes(const std::vector<sim::Frame>& frames) {
    long bytes = 0;
    for (const sim::Frame& f : frames) {
        bytes += static_cast<long>(f.bytes.size());
        if (f.IsRead()) bytes += radio_image::ImageSize;
        if (f.IsWrite() || f.IsPing()) bytes += 1;
    }
    return bytes;
}

template <class F>
double Seconds(F&& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

bool Measure(int baud, int rateIndex, std::vector<Result>& out) {
    sim::RadioSim radio;
    sim::Faults faults;
    faults.pacing = true;
    faults.baud = baud;
    radio.SetFaults(faults);
    radio.SetMemory(radio_test::FullImage());
    radio.InstallAsCom(1);

    Form1 = new TForm1(Application);
    Form1->ComboBox1->SetItemIndex(rateIndex);
    Form1->Button2->Click();
    if (!Connected) {
        std::fprintf(stderr, "no connection at %d baud\n", baud);
        delete Form1;
        Form1 = nullptr;
        return false;
    }

    std::vector<double> readTimes, writeTimes;
    Result read{"Read", baud, 0, 1, 0, 0};
    Result write{"Write one channel", baud, 0, 4, 0, 0};
    for (int run = 0; run < Runs; ++run) {
        radio.ClearFrames();
        readTimes.push_back(Seconds([] { Form1->Button3->Click(); }));
        read.exchanges = static_cast<int>(radio.Frames().size());
        read.wireSeconds = WireBytes(radio.Frames()) * 10.0 / baud;

        // One receive frequency one step up (or down, every other run).
        TTrackBar* bar = Form1->FTrackRx[10];
        bar->SetPosition(bar->Position() + (run % 2 == 0 ? 1 : -1));
        radio.ClearFrames();
        writeTimes.push_back(Seconds([] { Form1->WriteChannels(); }));
        write.exchanges = static_cast<int>(radio.Frames().size());
        write.wireSeconds = WireBytes(radio.Frames()) * 10.0 / baud;
    }
    read.seconds = Median(readTimes);
    write.seconds = Median(writeTimes);
    out.push_back(read);
    out.push_back(write);

    Form1->Button2->Click();
    delete Form1;
    Form1 = nullptr;
    return true;
}

}  // namespace

int main() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    test_env::Setup();
    Application->Initialize();
    test_env::ClearComPorts();

    std::vector<Result> results;
    bool ok = Measure(4800, 0, results) && Measure(19200, 2, results);

    std::printf("bench_read_write: reading and writing through the main window\n");
    std::printf("%-18s %6s %10s %9s %9s %9s %6s\n", "operation", "baud", "exchanges", "expected", "time ms",
                "wire ms", "ratio");
    for (const Result& r : results) {
        const double ratio = r.seconds / r.wireSeconds;
        std::printf("%-18s %6d %10d %9d %9.1f %9.1f %6.3f%s\n", r.operation, r.baud, r.exchanges, r.expected,
                    r.seconds * 1000, r.wireSeconds * 1000, ratio,
                    (r.exchanges == r.expected && ratio <= 1.05) ? "" : "  (goal: exact, <= 1.05)");
        ok = ok && r.exchanges == r.expected;
    }
    return ok ? 0 : 1;
}
