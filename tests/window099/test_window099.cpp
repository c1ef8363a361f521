// The earlier edition's main window before any Read: its form, the range 0
// that bounds the rows and the frequency dialog, its own message texts in
// the shared handlers, and its dialogs' texts.
#include "edition099_fixture.h"
#include "window/freq_dialog_helpers.h"

using namespace radio_test;

TEST_F(Edition099Test, TheWindowHasTheChannelsOnlyLayout) {
    CreateWindows();
    EXPECT_EQ(Form1->Caption(), "The program for adjustment of radio station KORVAL 4M-30");
    EXPECT_EQ(Form1->ClientWidth(), 642);
    EXPECT_EQ(Form1->ClientHeight(), 511);
    // The channel controls stand in the group box itself.
    EXPECT_EQ(Form1->ScrollBox1->Parent(), Form1->GroupBox1);
    EXPECT_EQ(Form1->Button8->Parent(), Form1->GroupBox1);
    EXPECT_EQ(Form1->ScrollBox1->Height(), 249);
    EXPECT_EQ(Form1->FindComponent("PageControl1"), nullptr);
    EXPECT_EQ(Form1->FindComponent("RadioGroup2"), nullptr);
    EXPECT_EQ(Form1->FindComponent("Button7"), nullptr);
    EXPECT_EQ(Form1->Panel1->Caption(), "Working Range [unknown]");

    const TStrings& messages = Form1->ListBox1->Items();
    ASSERT_EQ(messages.Count(), 50);
    EXPECT_FALSE(Form1->ListBox1->Visible());
    EXPECT_EQ(messages[17], "During data reading has been detected error frequencys, out of working range. Error fixed.");
    EXPECT_EQ(messages[48], "66.000-88.500 MHz");
    EXPECT_EQ(messages[49], "");
    EXPECT_FALSE(Form1->Button6->ShowHint());
}

TEST_F(Edition099Test, TheWindowPublishesItsHandlersTheRangeBoundingLast) {
    CreateWindows();
    EXPECT_EQ(Form1->MethodNames(),
              (std::vector<String>{"Button1Click", "CheckBox1Click", "N6Click", "Button2Click", "Button3Click",
                                   "Button6Click", "UpDown1Click", "TrackBar_Change", "ctcssOnMouseEnter",
                                   "CurrentComboOnChange", "FreqOnClick", "N8Click", "N2Click", "N4Click",
                                   "N3Click", "RadioGroup1Click", "Button8Click", "RadioGroup2Click"}));

    // Found by its name, the range bounding brings every row into the range
    // last read and leaves the range caption to Read.
    const TMethod* bounding = Form1->MethodAddress("RadioGroup2Click");
    ASSERT_NE(bounding, nullptr);
    ASSERT_TRUE(std::holds_alternative<TNotifyEvent>(*bounding));
    RangeIndex = 1;
    std::get<TNotifyEvent>(*bounding)(Form1);
    for (int n : {0, 99}) {
        EXPECT_EQ(Form1->FTrackRx[n]->Min(), 280);
        EXPECT_EQ(Form1->FTrackTx[n]->Max(), 620);
        EXPECT_EQ(Form1->FUdRx[n]->Min(), 280);
        EXPECT_EQ(Form1->FUdTx[n]->Max(), 620);
    }
    EXPECT_EQ(Form1->FEd1[0]->Text(), "40.000");
    EXPECT_EQ(Form1->Panel1->Caption(), "Working Range [unknown]");
}

TEST_F(Edition099Test, BeforeAnyReadTheRowsAndTheDialogKeepToRangeZero) {
    CreateWindows();
    EXPECT_EQ(RangeIndex, 0);
    EXPECT_EQ(Form1->RangeMinCode(), 0);
    EXPECT_EQ(Form1->RangeMaxCode(), 279);
    for (int n : {0, 57, 99}) {
        EXPECT_EQ(Form1->FTrackRx[n]->Min(), 0);
        EXPECT_EQ(Form1->FTrackTx[n]->Max(), 279);
        EXPECT_EQ(Form1->FUdRx[n]->Max(), 279);
    }
    // Stepping past the top stays at 39.975 MHz.
    Form1->FTrackRx[99]->SetPosition(279);
    Form1->FUdRx[99]->SetPosition(280);
    EXPECT_EQ(Form1->FEd1[99]->Text(), "39.975");

    Attempt high = TryFrequency(modal.script, 3, false, "40,000");
    EXPECT_EQ(high.caption, "Input frequency of receive (channel # 3)");
    ASSERT_NE(modal.script.Last("message"), nullptr);
    EXPECT_EQ(modal.script.Last("message")->text, "Frequency must be less 39.975 MHz");
    EXPECT_EQ(modal.script.Last("message")->caption, "Error!");

    TryFrequency(modal.script, 3, true, "33,010");
    EXPECT_EQ(modal.script.Last("message")->text, "Frequency must be truncated 25kHz");

    Attempt ok = TryFrequency(modal.script, 3, true, "39,950");
    EXPECT_TRUE(ok.closed);
    EXPECT_EQ(Form1->FTrackTx[3]->Position(), 278);
    EXPECT_EQ(Form1->FEd2[3]->Text(), "39.950");
}

TEST_F(Edition099Test, SharedHandlersShowThisEditionsTexts) {
    sim::RadioSim& radio = ConnectTo(EmptyImage(1));
    (void)radio;
    EXPECT_EQ(Form1->Button2->Caption(), "Disconnect");
    EXPECT_TRUE(Form1->Button8->Enabled());
    Form1->Button2->Click();
    EXPECT_EQ(Form1->Button2->Caption(), "Connection");
    EXPECT_EQ(LogLines().back(), "Connection with device broken");
    EXPECT_FALSE(Form1->Button3->Enabled());
    EXPECT_FALSE(Form1->Button8->Enabled());

    // A tone chosen in the shared combo shows this edition's "Hz".
    Form1->ctcssOnMouseEnter(Form1->FCtcssRxLabel[4]);
    Form1->CurrentCombo->SetItemIndex(13);
    Form1->CurrentComboOnChange(Form1->CurrentCombo);
    EXPECT_EQ(Form1->FCtcssRxLabel[4]->Caption(), "100,0 Hz");

    // File / Open of a missing file: this edition's box texts.
    modal.script.fileAnswers.push_back(String("/nonexistent-folder/none.tun"));
    Form1->N2->Click();
    ASSERT_NE(modal.script.Last("message"), nullptr);
    EXPECT_EQ(modal.script.Last("message")->text, "Error file opening!");
    EXPECT_EQ(modal.script.Last("message")->caption, "Warning!");
}

TEST_F(Edition099Test, TheAboutBoxNamesTheEarlierVersion) {
    CreateWindows();
    EXPECT_EQ(AboutBox->Version->Caption(), "Version v0.99c int");
    EXPECT_EQ(AboutBox->Version->Width(), 103);
    EXPECT_EQ(AboutBox->ProductName->Caption(), "The program for ajustment of radio station KORVAL 4M-30");
    Form1->N8->Click();
    ASSERT_NE(modal.script.Last("form"), nullptr);
    EXPECT_EQ(modal.script.Last("form")->text, "AboutBox");
}
