// Start-up until the main window is shown: the three windows made as the
// entry function makes them (100 channel rows, the scan of six ports on a
// machine with no serial ports), the main window shown and its events
// processed; then the windows are freed and the round repeated.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <QString>
#include <QtGlobal>

#include "About.h"
#include "FreqInput.h"
#include "main_form.h"
#include "support/test_env.h"

namespace {

constexpr int Rounds = 20;
constexpr double GoalMs = 100.0;

double StartOnce() {
    const auto start = std::chrono::steady_clock::now();
    Application->CreateForm(Form1);
    Application->CreateForm(FormFreqInput);
    Application->CreateForm(AboutBox);
    Form1->Show();
    Application->ProcessMessages();
    const auto end = std::chrono::steady_clock::now();

    delete AboutBox;
    delete FormFreqInput;
    delete Form1;
    AboutBox = nullptr;
    FormFreqInput = nullptr;
    Form1 = nullptr;
    Application->ProcessMessages();
    return std::chrono::duration<double, std::milli>(end - start).count();
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

    const double first = StartOnce();
    double total = 0;
    for (int i = 0; i < Rounds; ++i) total += StartOnce();
    const double average = total / Rounds;
    std::printf("bench_startup: start-up to the main window, no serial ports\n");
    std::printf("  first run %.1f ms; average of %d further runs %.1f ms\n", first, Rounds,
                average);
    std::printf("  ratio to the %.0f ms goal: %.2f\n", GoalMs, average / GoalMs);
    return 0;
}
