// Editing the channel rows: up-downs and track bars, the in-use boxes, the
// shared tone chooser, and opening the frequency dialog from a row.
#include <QCoreApplication>
#include <QEnterEvent>
#include <QWidget>

#include "main_window_fixture.h"

namespace {

using RowEditingTest = MainWindowTest;

// The mouse pointer enters a control, as the platform reports it.
void MouseEnter(TControl* c) {
    QEnterEvent ev(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(c->Widget(), &ev);
}

TEST_F(RowEditingTest, UpDownsAndTrackBarsKeepTheRowInStep) {
    CreateWindows();
    TForm1& f = *Form1;

    // An arrow steps the track bar, which brings the text along.
    f.FUdTx[10]->ClickButton(btNext);
    EXPECT_EQ(f.FTrackTx[10]->Position(), 11);
    EXPECT_EQ(f.FUdTx[10]->Position(), 11);
    EXPECT_EQ(f.FEd2[10]->Text(), "33.275");
    EXPECT_EQ(f.FTrackRx[10]->Position(), 10);
    EXPECT_EQ(f.FEd1[10]->Text(), "33.250");

    // At the end of the range an arrow changes nothing.
    f.FTrackRx[3]->SetPosition(279);
    EXPECT_EQ(f.FUdRx[3]->Position(), 279);
    EXPECT_EQ(f.FEd1[3]->Text(), "39.975");
    f.FUdRx[3]->ClickButton(btNext);
    EXPECT_EQ(f.FUdRx[3]->Position(), 279);
    EXPECT_EQ(f.FTrackRx[3]->Position(), 279);
    EXPECT_EQ(f.FEd1[3]->Text(), "39.975");
    f.FUdRx[3]->ClickButton(btPrev);
    EXPECT_EQ(f.FTrackRx[3]->Position(), 278);
    EXPECT_EQ(f.FEd1[3]->Text(), "39.950");
    f.FUdRx[0]->ClickButton(btPrev);
    EXPECT_EQ(f.FTrackRx[0]->Position(), 0);
    EXPECT_EQ(f.FEd1[0]->Text(), "33.000");

    // A track bar set to the position it holds raises nothing.
    f.FEd1[5]->SetText("untouched");
    f.FTrackRx[5]->SetPosition(5);
    EXPECT_EQ(f.FEd1[5]->Text(), "untouched");
    f.FTrackRx[5]->SetPosition(6);
    EXPECT_EQ(f.FEd1[5]->Text(), "33.150");
    EXPECT_EQ(f.FUdRx[5]->Position(), 6);
    EXPECT_EQ(f.FEd2[5]->Text(), "33.125");

    // Senders whose names name no row are ignored.
    TTrackBar stray(nullptr);
    stray.SetMax(200);
    stray.SetPosition(150);
    for (const char* name : {"Track_rx_100", "Track_rx_", "Track_rx_1x", "TrackBar1"}) {
        stray.SetName(name);
        f.TrackBar_Change(&stray);
    }
    f.CheckBox1Click(nullptr);
    f.UpDown1Click(f.FTrackRx[1], btNext);
    f.ctcssOnMouseEnter(f.Button1);
    f.FreqOnClick(f.FChBx[2]);
    EXPECT_EQ(f.FEd1[10]->Text(), "33.250");
    EXPECT_EQ(f.FUdRx[1]->Position(), 1);
    EXPECT_FALSE(f.CurrentCombo->Visible());
    EXPECT_EQ(modal.script.Count("form"), 0);
}

TEST_F(RowEditingTest, UncheckingARowDisablesItAndKeepsItsValues) {
    CreateWindows();
    TForm1& f = *Form1;
    f.FTrackRx[7]->SetPosition(120);
    f.FCtcssTx[7] = 5;
    const int n = 7;
    auto rowControls = [&] {
        return std::vector<TControl*>{f.FRowLabel[n], f.FEd1[n],  f.FTrackRx[n],
                                      f.FUdRx[n],     f.FEd2[n],  f.FTrackTx[n],
                                      f.FUdTx[n],     f.FCtcssRxLabel[n], f.FCtcssTxLabel[n]};
    };

    f.FChBx[n]->Click();
    EXPECT_FALSE(f.FChBx[n]->Checked());
    EXPECT_TRUE(f.FChBx[n]->Enabled());
    for (TControl* c : rowControls()) EXPECT_FALSE(c->Enabled()) << c->Name();
    EXPECT_TRUE(f.FEd1[8]->Enabled());
    EXPECT_EQ(f.FTrackRx[n]->Position(), 120);
    EXPECT_EQ(f.FEd1[n]->Text(), "36.000");
    EXPECT_EQ(f.FCtcssTx[n], 5);

    f.FChBx[n]->SetChecked(true);
    for (TControl* c : rowControls()) EXPECT_TRUE(c->Enabled()) << c->Name();
    EXPECT_EQ(f.FTrackRx[n]->Position(), 120);
    EXPECT_EQ(f.FCtcssTx[n], 5);
}

TEST_F(RowEditingTest, ToneChooserFollowsTheMouseAndTheInUseBox) {
    CreateWindows();
    TForm1& f = *Form1;
    TComboBox* combo = f.CurrentCombo;

    MouseEnter(f.FCtcssRxLabel[20]);
    EXPECT_TRUE(combo->Visible());
    EXPECT_TRUE(combo->Enabled());
    EXPECT_EQ(combo->Left(), f.FCtcssRxLabel[20]->Left());
    EXPECT_EQ(combo->Top(), f.FCtcssRxLabel[20]->Top() - 3);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(f.FCtcssRow, 20);
    EXPECT_EQ(f.FCtcssIsTx, 0);

    // Only the row under the combo takes the combo along.
    f.FChBx[21]->SetChecked(false);
    EXPECT_TRUE(combo->Enabled());
    f.FChBx[20]->SetChecked(false);
    EXPECT_FALSE(combo->Enabled());
    f.FChBx[20]->SetChecked(true);
    EXPECT_TRUE(combo->Enabled());

    // Over an unchecked row the combo shows, disabled.
    MouseEnter(f.FCtcssTxLabel[21]);
    EXPECT_TRUE(combo->Visible());
    EXPECT_FALSE(combo->Enabled());
    EXPECT_EQ(f.FCtcssRow, 21);
    EXPECT_EQ(f.FCtcssIsTx, 1);
    EXPECT_EQ(combo->Left(), 385);

    // Ticking the row under the combo enables it again; once a tone is
    // chosen the hidden combo is left alone by the in-use box.
    f.FChBx[21]->SetChecked(true);
    EXPECT_TRUE(combo->Enabled());
    combo->Select(0);
    EXPECT_FALSE(combo->Visible());
    f.FChBx[21]->SetChecked(false);
    EXPECT_TRUE(combo->Enabled());
}

TEST_F(RowEditingTest, ChosenToneGoesToTheSideUnderTheCombo) {
    CreateWindows();
    TForm1& f = *Form1;
    TComboBox* combo = f.CurrentCombo;

    MouseEnter(f.FCtcssRxLabel[12]);
    EXPECT_EQ(combo->Left(), 305);
    MouseEnter(f.FCtcssTxLabel[12]);
    EXPECT_TRUE(combo->Visible());
    EXPECT_EQ(combo->Left(), 385);
    EXPECT_EQ(combo->Top(), 32 * 12);
    EXPECT_EQ(f.FCtcssIsTx, 1);

    combo->Select(3);
    EXPECT_EQ(f.FCtcssTx[12], 3);
    EXPECT_EQ(f.FCtcssTxLabel[12]->Caption(), "71,9 Hz");
    EXPECT_EQ(f.FCtcssRx[12], 0);
    EXPECT_EQ(f.FCtcssRxLabel[12]->Caption(), "Off");
    EXPECT_FALSE(combo->Visible());
    EXPECT_EQ(f.FCtcssRow, 12);

    // Entering again shows the tone held; "Off" stores 0, no unit.
    MouseEnter(f.FCtcssTxLabel[12]);
    EXPECT_EQ(combo->ItemIndex(), 3);
    combo->Select(0);
    EXPECT_EQ(f.FCtcssTx[12], 0);
    EXPECT_EQ(f.FCtcssTxLabel[12]->Caption(), "Off");

    MouseEnter(f.FCtcssRxLabel[99]);
    combo->Select(50);
    EXPECT_EQ(f.FCtcssRx[99], 50);
    EXPECT_EQ(f.FCtcssRxLabel[99]->Caption(), "254,1 Hz");
    EXPECT_EQ(f.FCtcssTx[99], 0);
}

TEST_F(RowEditingTest, FrequencyDialogOpensEmptyForTheClickedFrequency) {
    CreateWindows();
    TForm1& f = *Form1;
    f.FTrackTx[12]->SetPosition(40);

    // Leftovers of an earlier showing.
    FormFreqInput->MaskEdit1->SetText("34,000");
    FormFreqInput->Button1->SetEnabled(true);

    String caption, editText;
    bool okEnabled = true;
    int direction = 0, channel = -1, shown = 0;
    modal.script.onShowModal = [&](TForm& form) {
        ++shown;
        EXPECT_EQ(&form, FormFreqInput);
        caption = form.Caption();
        editText = FormFreqInput->MaskEdit1->Text();
        okEnabled = FormFreqInput->Button1->Enabled();
        direction = FormFreqInput->FDirection;
        channel = FormFreqInput->FChannel;
        form.Close();
    };

    f.FEd2[12]->Click();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(caption, "Input frequency of transmit (channel # 12)");
    EXPECT_EQ(editText.find_first_of("0123456789"), String::npos) << editText;
    EXPECT_FALSE(okEnabled);
    EXPECT_EQ(direction, 2);
    EXPECT_EQ(channel, 12);
    // Closed without confirming: the row is as it was.
    EXPECT_EQ(f.FTrackTx[12]->Position(), 40);
    EXPECT_EQ(f.FEd2[12]->Text(), "34.000");

    f.FEd1[0]->Click();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(caption, "Input frequency of receive (channel # 0)");
    EXPECT_EQ(direction, 1);
    EXPECT_EQ(channel, 0);

    // The About item shows the About box modally.
    modal.script.onShowModal = nullptr;
    f.N8->Click();
    ASSERT_NE(modal.script.Last("form"), nullptr);
    EXPECT_EQ(modal.script.Last("form")->text, "AboutBox");
}

}  // namespace
