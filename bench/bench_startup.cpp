// Start-up until the main window is shown: the three windows made as the
// entry function makes them (100 channel rows, the scan of six ports on a
// machine with no serial ports), the main window shown and its events
// processed; then the windows are freed and the round repeated. Besides
// the time on the clock, the processor time the program used: on a machine
// shared with other work it varies less, as waiting for the processor is
// not in it.
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QString>
#include <QtGlobal>

#include "About.h"
#include "FreqInput.h"
#include "main_form.h"
#include "support/test_env.h"

namespace {

constexpr int Rounds = 40;
constexpr double GoalMs = 100.0;

struct Times {
    double clock = 0, processor = 0;  // ms
};

double ProcessorMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

Times StartOnce() {
    const double processorStart = ProcessorMs();
    const auto start = std::chrono::steady_clock::now();
    Application->CreateForm(Form1);
    Application->CreateForm(FormFreqInput);
    Application->CreateForm(AboutBox);
    Form1->Show();
    Application->ProcessMessages();
    const auto end = std::chrono::steady_clock::now();
    const double processorEnd = ProcessorMs();

    delete AboutBox;
    delete FormFreqInput;
    delete Form1;
    AboutBox = nullptr;
    FormFreqInput = nullptr;
    Form1 = nullptr;
    Application->ProcessMessages();
    return {std::chrono::duration<double, std::milli>(end - start).count(), processorEnd - processorStart};
}

}  // namespace

int main() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The offscreen platform's notes on every shown window are not results.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type >= QtCriticalMsg) std::fprintf(stderr, "%s\n", qPrintable(msg));
    });
    test_env::Setup();
    test_env::ClearComPorts();
    Application->Initialize();

    const Times first = StartOnce();
    std::vector<double> clock, processor;
    for (int i = 0; i < Rounds; ++i) {
        const Times t = StartOnce();
        clock.push_back(t.clock);
        processor.push_back(t.processor);
    }
    double total = 0;
    for (double ms : clock) total += ms;
    const double average = total / Rounds;
    std::printf("bench_startup: start-up to the main window, no serial ports\n");
    std::printf("  first run %.1f ms; average of %d further runs %.1f ms, median %.1f ms\n", first.clock,
                Rounds, average, Median(clock));
    std::printf("  processor time: first run %.1f ms, median of the further runs %.1f ms\n",
                first.processor, Median(processor));
    std::printf("  ratio to the %.0f ms goal: %.2f\n", GoalMs, average / GoalMs);
    return 0;
}
