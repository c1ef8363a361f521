// A test fixture that starts the full edition's windows the way the entry
// function does, with simulated radios on chosen COM ports and a scripted
// modal seam. Each test starts from the program's globals as they are
// when the program starts (the test main resets the application itself).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "About.h"
#include "FreqInput.h"
#include "main_form.h"
#include "platform/vcl/vcl.h"
#include "simradio/radio_sim.h"
#include "support/scripted_modal.h"
#include "support/test_env.h"

// Each edition's test program defines it: that edition's own globals as
// they are when the program starts.
void ResetEditionGlobals();

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test_env::ClearComPorts();
        ResetProgramGlobals();
    }

    void TearDown() override {
        if (Form1) Form1->Hide();
        if (Radiocomm) Radiocomm->ClosePort();
        Connected = false;
        delete AboutBox;
        delete FormFreqInput;
        delete Form1;
        AboutBox = nullptr;
        FormFreqInput = nullptr;
        Form1 = nullptr;
        radios.clear();
        test_env::ClearComPorts();
    }

    // No window (a form an earlier test left was freed with its
    // Application object), a new closed link object, not connected, no
    // port scan or tone list yet, and the edition's own globals.
    static void ResetProgramGlobals() {
        AboutBox = nullptr;
        FormFreqInput = nullptr;
        Form1 = nullptr;
        if (Radiocomm) Radiocomm->ClosePort();
        delete Radiocomm;
        Radiocomm = new TRadiocomm();
        Connected = false;
        if (PortList)
            for (PortScanEntry* e : *PortList) delete e;
        delete PortList;
        PortList = nullptr;
        delete ToneList;
        ToneList = nullptr;
        ToneSuffix.clear();
        ResetEditionGlobals();
    }

    // A simulated radio linked in as COMn (before CreateWindows, so the
    // port scan finds it).
    sim::RadioSim& AddRadio(int com) {
        radios.push_back(std::make_unique<sim::RadioSim>());
        radios.back()->InstallAsCom(com);
        return *radios.back();
    }

    // The three windows, in the entry function's order.
    void CreateWindows() {
        Form1 = new TForm1(Application);
        FormFreqInput = new TFormFreqInput(Application);
        AboutBox = new TAboutBox(Application);
    }

    // One radio on COM1, the windows, and a press of "Connection".
    sim::RadioSim& StartConnected() {
        sim::RadioSim& r = AddRadio(1);
        CreateWindows();
        Form1->Button2->Click();
        EXPECT_TRUE(Connected);
        return r;
    }

    std::vector<String> LogLines() const { return Form1->Memo1->Lines().Items(); }

    vcl::ScopedModalScript modal;
    std::vector<std::unique_ptr<sim::RadioSim>> radios;
};
