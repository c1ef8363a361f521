// The frequency entry dialog, opened from a channel row of the main window:
// accepted and refused values in each operating range, incomplete input,
// Esc, and confirming the frequency the row already has.
#include <QLocale>

#include "freq_dialog_helpers.h"
#include "main_window_fixture.h"
#include "vcl/keyboard_helpers.h"

namespace {

class FreqDialogTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CreateWindows();
    }

    Attempt Try(int row, bool tx, const String& typed) { return TryFrequency(modal.script, row, tx, typed); }

    // Every row's receive and transmit code.
    std::vector<int> Positions() const {
        std::vector<int> p;
        for (int row = 0; row < RowCount; ++row) {
            p.push_back(Form1->FTrackRx[row]->Position());
            p.push_back(Form1->FTrackTx[row]->Position());
        }
        return p;
    }

    // The last refusal shown, or nullptr.
    const vcl::ScriptedModal::Shown* LastMessage() const { return modal.script.Last("message"); }
};

TEST_F(FreqDialogTest, AcceptsTheBoundsOfEachRangeAndSetsTheRowsTrackBar) {
    struct Case {
        int range;
        String typed;
        int code;
        String text;  // the row's frequency text afterwards
    };
    const Case cases[] = {
        {0, "33,000", 0, "33.000"},    {0, "39,975", 279, "39.975"},
        {0, "35,125", 85, "35.125"},   {1, "40,000", 280, "40.000"},
        {1, "48,500", 620, "48.500"},  {2, "57,250", 970, "57.250"},
        {2, "57,000", 960, "57.000"},  {3, "88,000", 2200, "88.000"},
        {3, "66,000", 1320, "66.000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Form1->RadioGroup2->SetItemIndex(c.range);
        std::vector<int> expected = Positions();
        expected[2 * 7] = c.code;
        expected[2 * 12 + 1] = c.code;
        Attempt rx = Try(7, false, c.typed);
        EXPECT_TRUE(rx.okEnabled);
        EXPECT_TRUE(rx.closed);
        EXPECT_EQ(Form1->FTrackRx[7]->Position(), c.code);
        EXPECT_EQ(Form1->FEd1[7]->Text(), c.text);

        Attempt tx = Try(12, true, c.typed);
        EXPECT_TRUE(tx.closed);
        EXPECT_EQ(tx.caption, "Input frequency of transmit (channel # 12)");
        EXPECT_EQ(Form1->FTrackTx[12]->Position(), c.code);
        EXPECT_EQ(Form1->FEd2[12]->Text(), c.text);
        // Only the frequencies the dialog was opened for changed.
        EXPECT_EQ(Positions(), expected);
    }
    EXPECT_EQ(modal.script.Count("message"), 0);
}

TEST_F(FreqDialogTest, RefusesValuesOutsideTheRangeOrOffTheStepWithAWarning) {
    struct Case {
        int range;
        String typed;
        String message;
    };
    const Case cases[] = {
        {0, "40,000", "Frequency must be less 39.975 MHz"},
        {0, "32,975", "Frequency must be more 33 MHz"},
        {0, "03,000", "Frequency must be more 33 MHz"},  // a leading zero is a digit
        {0, "33,010", "Frequency must be truncated 25 kHz"},
        {1, "39,975", "Frequency must be more 40 MHz"},
        {1, "48,525", "Frequency must be less 48.5 MHz"},
        {1, "40,001", "Frequency must be truncated 25 kHz"},
        {2, "57,525", "Frequency must be less 57.5 MHz"},
        {2, "56,975", "Frequency must be more 57 MHz"},
        {3, "65,975", "Frequency must be more 66 MHz"},
        {3, "88,025", "Frequency must be less 88 MHz"},
        {3, "70,030", "Frequency must be truncated 25 kHz"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Form1->RadioGroup2->SetItemIndex(c.range);
        const int before = Form1->FTrackRx[3]->Position();
        const String textBefore = Form1->FEd1[3]->Text();
        const int shownBefore = modal.script.Count("message");

        Attempt a = Try(3, false, c.typed);
        EXPECT_TRUE(a.okEnabled);
        EXPECT_FALSE(a.closed);
        EXPECT_EQ(a.textAfter, c.typed);  // neither rounded nor cleared
        ASSERT_EQ(modal.script.Count("message"), shownBefore + 1);
        const auto* m = LastMessage();
        EXPECT_EQ(m->text, c.message);
        EXPECT_EQ(m->caption, "Error!");
        EXPECT_EQ(m->flags, static_cast<unsigned>(MB_ICONWARNING));
        EXPECT_EQ(m->owner, FormFreqInput);
        EXPECT_EQ(Form1->FTrackRx[3]->Position(), before);
        EXPECT_EQ(Form1->FEd1[3]->Text(), textBefore);
    }
}

TEST_F(FreqDialogTest, BoundsAreWrittenWithAFullStopInACommaLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Form1->RadioGroup2->SetItemIndex(1);
    Try(0, false, "48,525");
    QLocale::setDefault(saved);
    ASSERT_NE(LastMessage(), nullptr);
    EXPECT_EQ(LastMessage()->text, "Frequency must be less 48.5 MHz");
}

TEST_F(FreqDialogTest, IncompleteInputKeepsOkDisabled) {
    modal.script.onShowModal = [](TForm& form) {
        TFormFreqInput& dlg = dynamic_cast<TFormFreqInput&>(form);
        EXPECT_FALSE(dlg.Button1->Enabled());  // the main window's set-up
        EXPECT_EQ(dlg.MaskEdit1->Text(), "  ,   ");
        for (char ch : String("3302")) dlg.MaskEdit1->KeyPress(ch);
        EXPECT_EQ(dlg.MaskEdit1->Text(), "33,02 ");
        EXPECT_FALSE(dlg.Button1->Enabled());
        dlg.MaskEdit1->KeyPress('5');
        EXPECT_EQ(dlg.MaskEdit1->Text(), "33,025");
        EXPECT_TRUE(dlg.Button1->Enabled());
        EXPECT_TRUE(dlg.Button1->Focused());
        // Deleting the last digit again.
        dlg.MaskEdit1->KeyPress(8);
        EXPECT_EQ(dlg.MaskEdit1->Text(), "33,02 ");
        EXPECT_FALSE(dlg.Button1->Enabled());
        form.Close();
    };
    const int before = Form1->FTrackRx[0]->Position();
    Form1->FEd1[0]->Click();
    EXPECT_EQ(modal.script.Count("form"), 1);
    EXPECT_EQ(Form1->FTrackRx[0]->Position(), before);

    // The next showing starts empty with OK disabled again, whatever the
    // last one left.
    modal.script.onShowModal = [](TForm& form) {
        TFormFreqInput& dlg = dynamic_cast<TFormFreqInput&>(form);
        EXPECT_EQ(dlg.MaskEdit1->Text(), "  ,   ");
        EXPECT_FALSE(dlg.Button1->Enabled());
        dlg.MaskEdit1->SetText("33,025");
        form.Close();
    };
    Form1->FEd1[0]->Click();
    Form1->FEd1[0]->Click();
    EXPECT_EQ(modal.script.Count("form"), 3);
}

TEST_F(FreqDialogTest, EscClosesWithoutChangeFromTheEditAndFromOk) {
    int changes = 0;
    TTrackBar* track = Form1->FTrackRx[4];
    const int before = track->Position();
    TNotifyEvent original = track->OnChange;
    track->OnChange = [&](TObject* s) {
        ++changes;
        original(s);
    };
    for (bool onButton : {false, true}) {
        SCOPED_TRACE(onButton ? "OK focused" : "edit focused");
        bool closedByEsc = false;
        modal.script.onShowModal = [&](TForm& form) {
            TFormFreqInput& dlg = dynamic_cast<TFormFreqInput&>(form);
            dlg.MaskEdit1->SetText("35,000");
            char esc = 27;
            if (onButton)
                dlg.Button1->OnKeyPress(dlg.Button1, esc);
            else
                dlg.MaskEdit1->KeyPress(esc);
            closedByEsc = form.ModalDone();
            if (!closedByEsc) form.Close();
        };
        Form1->FEd1[4]->Click();
        EXPECT_TRUE(closedByEsc);
    }
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(track->Position(), before);
    EXPECT_EQ(modal.script.Count("message"), 0);
}

TEST_F(FreqDialogTest, ConfirmingTheCurrentFrequencyClosesWithoutAChangeEvent) {
    Form1->RadioGroup2->SetItemIndex(3);
    ASSERT_TRUE(Try(9, true, "77,550").closed);
    ASSERT_EQ(Form1->FTrackTx[9]->Position(), 1782);

    int changes = 0;
    TTrackBar* track = Form1->FTrackTx[9];
    TNotifyEvent original = track->OnChange;
    track->OnChange = [&](TObject* s) {
        ++changes;
        original(s);
    };
    Attempt a = Try(9, true, "77,550");
    EXPECT_TRUE(a.closed);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(track->Position(), 1782);
    EXPECT_EQ(Form1->FEd2[9]->Text(), "77.550");
}

TEST_F(FreqDialogTest, AChannelOutsideTheTableIsLeftAlone) {
    const std::vector<int> before = Positions();
    for (int direction : {1, 2}) {
        for (int channel : {-1, 100, 1000}) {
            FormFreqInput->FDirection = direction;
            FormFreqInput->FChannel = channel;
            FormFreqInput->MaskEdit1->SetText("33,025");
            FormFreqInput->Button1->Click();  // must not touch any row
        }
    }
    EXPECT_EQ(Positions(), before);
    EXPECT_EQ(modal.script.Count("message"), 0);
    // The same press for a row of the table does reach it.
    FormFreqInput->FChannel = 5;
    FormFreqInput->Button1->Click();
    EXPECT_EQ(Form1->FTrackTx[5]->Position(), 1);
}

// Entered by Tab or Shift+Tab from OK, the edit has all its text
// selected: the next key replaces it, and OK goes disabled again. A click
// in the edit places the caret instead.
TEST_F(FreqDialogTest, TheEditEnteredByTheKeyboardSelectsItsTextAndAClickPlacesTheCaret) {
    const struct {
        std::string how;  // Shift+Tab, Tab or a click after the last digit, from OK
        Qt::Key key;
        String text;
    } entries[] = {{"Shift+Tab", Qt::Key_Backspace, "  ,   "}, {"Tab", Qt::Key_4, "4 ,   "},
                   {"click", Qt::Key_Backspace, "33,02 "}};
    size_t entered = 0;
    modal.script.onShowModal = [&](TForm& form) {
        TFormFreqInput& dlg = dynamic_cast<TFormFreqInput&>(form);
        ASSERT_TRUE(keyboard::ShowActive(form));
        QWidget* edit = dlg.MaskEdit1->Widget();
        for (const auto& e : entries) {
            SCOPED_TRACE(e.how);
            dlg.MaskEdit1->SetText("");
            edit->setFocus(Qt::OtherFocusReason);
            QTest::keyClicks(edit, "33025");
            ASSERT_EQ(keyboard::FocusedControl(form), "Button1");  // the dialog moved on to OK
            if (e.how == "click") {
                QTest::mouseClick(form.Widget()->windowHandle(), Qt::LeftButton, {},
                                  edit->mapTo(form.Widget(), QPoint(edit->width() - 3, edit->height() / 2)));
                EXPECT_TRUE(dlg.MaskEdit1->Focused());
            } else {
                ASSERT_EQ(keyboard::PressTab(form, 1, e.how == "Shift+Tab"), std::vector<String>{"MaskEdit1"});
            }
            QTest::keyClick(edit, e.key);
            EXPECT_EQ(dlg.MaskEdit1->Text(), e.text);
            EXPECT_FALSE(dlg.Button1->Enabled());
            ++entered;
        }
        form.Close();
        form.Hide();
    };
    const int before = Form1->FTrackRx[3]->Position();
    Form1->FEd1[3]->Click();
    EXPECT_EQ(entered, std::size(entries));
    EXPECT_EQ(Form1->FTrackRx[3]->Position(), before);
}

}  // namespace
