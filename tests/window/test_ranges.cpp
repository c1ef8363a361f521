// Operating ranges: the range bounds, the range caption, bringing every row
// into a newly chosen range, and the MHz texts.
#include <QLocale>

#include <thread>

#include "main_window_fixture.h"

namespace {

using RangeTest = MainWindowTest;

// Switches the user's number format for one test and back.
struct ScopedLocale {
    explicit ScopedLocale(const QLocale& l) { QLocale::setDefault(l); }
    ~ScopedLocale() { QLocale::setDefault(previous); }
    const QLocale previous;
};

// Every row, both sides, at one code: track bar, up-down and text.
void ExpectAllRowsAt(const TForm1& f, int code, const String& text) {
    for (int n = 0; n < RowCount; ++n) {
        ASSERT_EQ(f.FTrackRx[n]->Position(), code) << "row " << n;
        ASSERT_EQ(f.FTrackTx[n]->Position(), code) << "row " << n;
        ASSERT_EQ(f.FUdRx[n]->Position(), code) << "row " << n;
        ASSERT_EQ(f.FUdTx[n]->Position(), code) << "row " << n;
        ASSERT_EQ(f.FEd1[n]->Text(), text) << "row " << n;
        ASSERT_EQ(f.FEd2[n]->Text(), text) << "row " << n;
    }
}

void ExpectBounds(const TForm1& f, int n, int min, int max) {
    EXPECT_EQ(f.FTrackRx[n]->Min(), min);
    EXPECT_EQ(f.FTrackRx[n]->Max(), max);
    EXPECT_EQ(f.FTrackTx[n]->Min(), min);
    EXPECT_EQ(f.FTrackTx[n]->Max(), max);
    EXPECT_EQ(f.FUdRx[n]->Min(), min);
    EXPECT_EQ(f.FUdRx[n]->Max(), max);
    EXPECT_EQ(f.FUdTx[n]->Min(), min);
    EXPECT_EQ(f.FUdTx[n]->Max(), max);
}

TEST_F(RangeTest, BoundsAndCaptionFollowTheSelectedRange) {
    CreateWindows();
    TRadioGroup* group = Form1->RadioGroup2;
    const int mins[4] = {0, 280, 960, 1320};
    const int maxs[4] = {279, 620, 980, 2200};
    const char* captions[4] = {
        "Working Range: 33.000-39.975 MHz", "Working Range: 40.000-48.500 MHz",
        "Working Range: 57.000-57.500 MHz", "Working Range: 66.000-88.000 MHz"};
    for (int r : {0, 1, 2, 3, 1, 0}) {
        group->SetItemIndex(r);
        EXPECT_EQ(Form1->RangeMinCode(), mins[r]) << r;
        EXPECT_EQ(Form1->RangeMaxCode(), maxs[r]) << r;
        EXPECT_EQ(Form1->Panel1->Caption(), captions[r]) << r;
    }

    // No selection (clearing it runs no click handler).
    group->SetItemIndex(-1);
    ShowRange();
    EXPECT_EQ(Form1->RangeMinCode(), -1);
    EXPECT_EQ(Form1->RangeMaxCode(), -1);
    EXPECT_EQ(Form1->Panel1->Caption(), "Error of reading Range litera");
}

// The scan probes COM1 while the window is being built; the radio there
// answers late, so the caption can be looked at while the probe waits.
TEST_F(RangeTest, TheRangeCaptionIsShownBeforeThePortsAreProbed) {
    sim::RadioSim& radio = AddRadio(1);
    sim::Faults slow;
    slow.replyDelayMs = 300;
    radio.SetFaults(slow);

    String captionAtProbe = "(not probed)";
    std::thread watcher([&] {
        if (radio.WaitForFrames(1, 10000)) captionAtProbe = MainWindow()->Panel1->Caption();
    });
    CreateWindows();
    watcher.join();

    ASSERT_EQ(radio.Frames().size(), 1u);
    EXPECT_TRUE(radio.Frames()[0].IsPing());
    EXPECT_EQ(captionAtProbe, "Working Range: 33.000-39.975 MHz");
    EXPECT_EQ(Form1->RadioGroup1->Items()[0], "COM1 (device)");
}

TEST_F(RangeTest, ChangingTheRangeMovesEveryRowIntoIt) {
    CreateWindows();
    TForm1& f = *Form1;
    // Tones and the in-use boxes are not the range's business.
    f.FChBx[9]->SetChecked(false);
    f.FCtcssRx[9] = 7;

    // Up from range 0: every row at the new range's lowest code.
    f.RadioGroup2->SetItemIndex(3);
    ExpectAllRowsAt(f, 1320, "66.000");
    ExpectBounds(f, 50, 1320, 2200);
    EXPECT_EQ(f.Panel1->Caption(), "Working Range: 66.000-88.000 MHz");

    // Down from range 3: clamped to the top of range 1.
    f.FTrackRx[4]->SetPosition(1500);
    EXPECT_EQ(f.FEd1[4]->Text(), "70.500");
    f.RadioGroup2->SetItemIndex(1);
    EXPECT_EQ(f.FTrackRx[4]->Position(), 620);
    EXPECT_EQ(f.FEd1[4]->Text(), "48.500");
    ExpectAllRowsAt(f, 620, "48.500");
    ExpectBounds(f, 4, 280, 620);
    EXPECT_EQ(f.Panel1->Caption(), "Working Range: 40.000-48.500 MHz");

    f.RadioGroup2->SetItemIndex(2);
    ExpectAllRowsAt(f, 960, "57.000");
    ExpectBounds(f, 99, 960, 980);
    EXPECT_EQ(f.Panel1->Caption(), "Working Range: 57.000-57.500 MHz");

    f.RadioGroup2->SetItemIndex(1);
    ExpectAllRowsAt(f, 620, "48.500");
    EXPECT_EQ(f.Panel1->Caption(), "Working Range: 40.000-48.500 MHz");

    EXPECT_FALSE(f.FChBx[9]->Checked());
    EXPECT_EQ(f.FCtcssRx[9], 7);
    EXPECT_TRUE(f.FChBx[10]->Checked());

    // Choosing the range already selected runs nothing.
    f.Panel1->SetCaption("unchanged");
    f.FEd2[30]->SetText("unchanged");
    f.RadioGroup2->SetItemIndex(1);
    EXPECT_EQ(f.Panel1->Caption(), "unchanged");
    EXPECT_EQ(f.FEd2[30]->Text(), "unchanged");
}

TEST_F(RangeTest, NarrowRangeLeavesUpperRowsAtTheTop) {
    CreateWindows();
    TForm1& f = *Form1;
    // Rows spread over range 1, then into range 2 and back down to 0.
    f.RadioGroup2->SetItemIndex(1);
    f.FTrackRx[0]->SetPosition(300);
    f.RadioGroup2->SetItemIndex(0);
    ExpectAllRowsAt(f, 279, "39.975");
    ExpectBounds(f, 0, 0, 279);
}

TEST_F(RangeTest, MHzTextHasThreeDecimalsAndTheUsersSeparator) {
    EXPECT_EQ(MHzText(0), "33.000");
    EXPECT_EQ(MHzText(1), "33.025");
    EXPECT_EQ(MHzText(99), "35.475");
    EXPECT_EQ(MHzText(279), "39.975");
    EXPECT_EQ(MHzText(620), "48.500");
    EXPECT_EQ(MHzText(2200), "88.000");

    {
        ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(MHzText(57), "34,425");
        EXPECT_EQ(MHzText(2200), "88,000");
        CreateWindows();
        EXPECT_EQ(Form1->FEd1[57]->Text(), "34,425");
        Form1->RadioGroup2->SetItemIndex(3);
        EXPECT_EQ(Form1->FEd2[0]->Text(), "66,000");
        // The range caption and tone texts are fixed texts, not numbers.
        EXPECT_EQ(Form1->Panel1->Caption(), "Working Range: 66.000-88.000 MHz");
    }
    EXPECT_EQ(MHzText(57), "34.425");
}

}  // namespace
