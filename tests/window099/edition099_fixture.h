// The earlier edition's windows with simulated radios: the shared fixture
// built against this edition's main window, and what its tests look at.
#pragma once

#include "window/main_window_fixture.h"
#include "window/radio_test_helpers.h"

class Edition099Test : public MainWindowTest {
protected:
    // A radio on COM1 holding `memory`, the windows, and a press of
    // "Connection", which reads the radio at once.
    sim::RadioSim& ConnectTo(const radio_test::Image& memory) {
        sim::RadioSim& r = AddRadio(1);
        r.SetMemory(memory);
        CreateWindows();
        Form1->Button2->Click();
        EXPECT_TRUE(Connected);
        return r;
    }

    // Loads the image into the radio and presses "Read"; the frames and
    // the log so far are forgotten first.
    void ReadFrom(sim::RadioSim& radio, const radio_test::Image& memory) {
        radio.SetMemory(memory);
        radio.ClearFrames();
        Forget();
        Form1->Button3->Click();
    }

    // Log lines since the last call (or since Forget).
    std::vector<String> NewLines() {
        std::vector<String> all = LogLines();
        std::vector<String> fresh(all.begin() + static_cast<long>(std::min(seenLines, all.size())), all.end());
        seenLines = all.size();
        return fresh;
    }
    void Forget() {
        seenLines = LogLines().size();
        seenBoxes = static_cast<size_t>(modal.script.Count("message"));
    }
    // Message boxes shown since Forget.
    int NewBoxes() const { return modal.script.Count("message") - static_cast<int>(seenBoxes); }

    size_t seenLines = 0;
    size_t seenBoxes = 0;
    radio_test::ScopedLocale locale{radio_test::PointLocale()};
};

inline const std::vector<String> ReadLines = {"Reading data from device",
                                              "Data block succefully read from device"};
