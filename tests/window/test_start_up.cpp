// Start-up: the link object before any window, the channel rows as the
// constructor builds them, the ports group, and the entry function's guard.
#include <stdexcept>

#include "main_window_fixture.h"
#include "startup.h"

namespace {

// What the link object looked like when the test program started, before
// any test made a window.
struct LinkAtStart : ::testing::Environment {
    static inline bool linkExisted = false;
    static inline bool windowExisted = true;
    static inline HANDLE handle = nullptr;
    static inline COMMTIMEOUTS timeouts{};

    void SetUp() override {
        linkExisted = Radiocomm != nullptr;
        windowExisted = Form1 != nullptr;
        if (Radiocomm) {
            handle = Radiocomm->PortHandle();
            timeouts = Radiocomm->Timeouts();
        }
    }
};
[[maybe_unused]] const auto* const LinkAtStartEnvironment = ::testing::AddGlobalTestEnvironment(new LinkAtStart);

using StartUpTest = MainWindowTest;

TEST_F(StartUpTest, LinkObjectExistsClosedBeforeAnyWindow) {
    EXPECT_TRUE(LinkAtStart::linkExisted);
    EXPECT_FALSE(LinkAtStart::windowExisted);
    EXPECT_EQ(LinkAtStart::handle, nullptr);
    EXPECT_EQ(LinkAtStart::timeouts.ReadIntervalTimeout, 500u);
    EXPECT_EQ(LinkAtStart::timeouts.ReadTotalTimeoutMultiplier, 1u);
    EXPECT_EQ(LinkAtStart::timeouts.ReadTotalTimeoutConstant, 500u);
    EXPECT_EQ(LinkAtStart::timeouts.WriteTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(LinkAtStart::timeouts.WriteTotalTimeoutConstant, 500u);
    EXPECT_FALSE(Connected);

    // The window takes the same object and leaves it closed.
    TRadiocomm* before = Radiocomm;
    CreateWindows();
    EXPECT_EQ(Radiocomm, before);
    EXPECT_EQ(Radiocomm->PortHandle(), nullptr);
    EXPECT_EQ(Form1->FFileName, "");
}

TEST_F(StartUpTest, RowsCarryNamesLabelsAndDefaultCodes) {
    CreateWindows();
    TForm1& f = *Form1;

    EXPECT_EQ(f.FRowLabel[0]->Caption(), "00");
    EXPECT_EQ(f.FRowLabel[9]->Caption(), "09");
    EXPECT_EQ(f.FRowLabel[10]->Caption(), "10");
    EXPECT_EQ(f.FRowLabel[99]->Caption(), "99");
    EXPECT_EQ(f.FRowLabel[42]->Font().Size(), 10);

    EXPECT_EQ(f.FChBx[0]->Name(), "ChBx0");
    EXPECT_EQ(f.FEd1[5]->Name(), "Ed1_5");
    EXPECT_EQ(f.FEd2[99]->Name(), "Ed2_99");
    EXPECT_EQ(f.FTrackRx[7]->Name(), "Track_rx_7");
    EXPECT_EQ(f.FTrackTx[70]->Name(), "Track_tx_70");
    EXPECT_EQ(f.FUdRx[3]->Name(), "Ud_rx_3");
    EXPECT_EQ(f.FUdTx[42]->Name(), "Ud_tx_42");
    EXPECT_EQ(f.FCtcssRxLabel[8]->Name(), "ctcss_rx_8");
    EXPECT_EQ(f.FCtcssTxLabel[99]->Name(), "ctcss_tx_99");
    EXPECT_EQ(f.FindComponent("Track_rx_07"), nullptr);
    EXPECT_EQ(f.FindComponent("Ud_tx_42"), f.FUdTx[42]);

    // Range 0: row n at code n, every control showing it.
    EXPECT_EQ(f.FTrackRx[57]->Position(), 57);
    EXPECT_EQ(f.FTrackTx[57]->Position(), 57);
    EXPECT_EQ(f.FUdRx[57]->Position(), 57);
    EXPECT_EQ(f.FUdTx[57]->Position(), 57);
    EXPECT_EQ(f.FEd1[57]->Text(), "34.425");
    EXPECT_EQ(f.FEd2[57]->Text(), "34.425");
    EXPECT_EQ(f.FEd1[0]->Text(), "33.000");
    EXPECT_EQ(f.FEd2[99]->Text(), "35.475");
    EXPECT_EQ(f.FTrackRx[57]->Min(), 0);
    EXPECT_EQ(f.FTrackRx[57]->Max(), 279);
    EXPECT_EQ(f.FUdTx[57]->Min(), 0);
    EXPECT_EQ(f.FUdTx[57]->Max(), 279);
    EXPECT_TRUE(f.FEd1[57]->ReadOnly());

    for (int n = 0; n < RowCount; ++n) {
        EXPECT_TRUE(f.FChBx[n]->Checked()) << n;
        EXPECT_TRUE(f.FTrackTx[n]->Enabled()) << n;
        EXPECT_EQ(f.FCtcssRx[n], 0) << n;
        EXPECT_EQ(f.FCtcssTx[n], 0) << n;
        EXPECT_EQ(f.FCtcssRxLabel[n]->Caption(), "Off") << n;
        EXPECT_EQ(f.FCtcssTxLabel[n]->Caption(), "Off") << n;
        EXPECT_EQ(f.FEd1[n]->Parent(), f.ScrollBox1) << n;
    }

    // Geometry of one row, 32 pixels apart.
    EXPECT_EQ(f.FEd1[3]->Left(), 45);
    EXPECT_EQ(f.FEd1[3]->Top(), 96);
    EXPECT_EQ(f.FUdTx[3]->Left(), 245);
    EXPECT_EQ(f.FUdTx[3]->Top(), 109);
    EXPECT_EQ(f.FCtcssTxLabel[3]->Left(), 385);
    EXPECT_EQ(f.FSeparator[1]->Top(), 57);
    EXPECT_EQ(f.FSeparator[1]->Width(), f.ScrollBox1->Width() - 30);

    // The one tone chooser, hidden until a tone label is entered.
    ASSERT_NE(f.CurrentCombo, nullptr);
    EXPECT_FALSE(f.CurrentCombo->Visible());
    EXPECT_EQ(f.CurrentCombo->Parent(), f.ScrollBox1);
    EXPECT_EQ(f.CurrentCombo->Width(), 70);
    ASSERT_EQ(f.CurrentCombo->Items().Count(), 51);
    EXPECT_EQ(f.CurrentCombo->Items()[0], "Off");
    EXPECT_EQ(f.CurrentCombo->Items()[1], "67,0 Hz");
    EXPECT_EQ(f.CurrentCombo->Items()[50], "254,1 Hz");
    EXPECT_EQ(ToneSuffix, " Hz");
    EXPECT_EQ(ToneCaption(13), "100,0 Hz");
    EXPECT_EQ(ToneCaption(0), "Off");
    EXPECT_EQ(ToneCaption(51), "Off");

    EXPECT_EQ(f.Panel1->Caption(), "Working Range: 33.000-39.975 MHz");
}

TEST_F(StartUpTest, PortsGroupListsOpenedPortsAndSelectsLastRadio) {
    AddRadio(2);
    sim::RadioSim& silent = AddRadio(3);
    sim::Faults faults;
    faults.silent = true;
    silent.SetFaults(faults);
    AddRadio(5);
    CreateWindows();

    EXPECT_EQ(Form1->RadioGroup1->Items().Items(),
              (std::vector<String>{"COM2 (device)", "COM3", "COM5 (device)"}));
    EXPECT_EQ(Form1->RadioGroup1->ItemIndex(), 2);
    EXPECT_TRUE(Form1->Button2->Enabled());
    ASSERT_NE(PortList, nullptr);
    ASSERT_EQ(PortList->size(), 3u);
    EXPECT_EQ((*PortList)[1]->Port, 3);
    EXPECT_EQ((*PortList)[1]->Status, 4);
}

TEST_F(StartUpTest, NoAnsweringRadioLeavesConnectionDisabled) {
    CreateWindows();
    EXPECT_EQ(Form1->RadioGroup1->Items().Count(), 0);
    EXPECT_EQ(Form1->RadioGroup1->ItemIndex(), -1);
    EXPECT_FALSE(Form1->Button2->Enabled());
    delete AboutBox;
    delete FormFreqInput;
    delete Form1;
    AboutBox = nullptr;
    FormFreqInput = nullptr;
    Form1 = nullptr;

    // A port that opens but does not answer is listed, not selected.
    sim::RadioSim& silent = AddRadio(1);
    sim::Faults faults;
    faults.silent = true;
    silent.SetFaults(faults);
    CreateWindows();
    EXPECT_EQ(Form1->RadioGroup1->Items().Items(), (std::vector<String>{"COM1"}));
    EXPECT_EQ(Form1->RadioGroup1->ItemIndex(), -1);
    EXPECT_FALSE(Form1->Button2->Enabled());
}

TEST_F(StartUpTest, GuardShowsEveryThrownObjectAndReturnsZero) {
    EXPECT_EQ(RunGuarded([] {}), 0);
    EXPECT_EQ(modal.script.Count("exception"), 0);

    EXPECT_EQ(RunGuarded([] { throw Exception("Resource missing"); }), 0);
    ASSERT_EQ(modal.script.Count("exception"), 1);
    EXPECT_EQ(modal.script.Last("exception")->text, "Resource missing");

    // Not of the framework's class: shown with an empty message.
    EXPECT_EQ(RunGuarded([] { throw 42; }), 0);
    ASSERT_EQ(modal.script.Count("exception"), 2);
    EXPECT_EQ(modal.script.Last("exception")->text, "");

    EXPECT_EQ(RunGuarded([] { throw std::runtime_error("not ours"); }), 0);
    ASSERT_EQ(modal.script.Count("exception"), 3);
    EXPECT_EQ(modal.script.Last("exception")->text, "");
}

}  // namespace
