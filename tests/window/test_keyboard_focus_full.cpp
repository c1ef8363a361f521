// The full edition's own parts through the keyboard, the wheel and a
// screen reader: the page control in the tab order and under the mouse,
// its arrow keys and the wheel over its tabs, the Options page's
// stops and the names of its track bars, the range group's arrow keys, and
// the option bars under their keys and the wheel.
#include <QAccessible>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

#include "window/main_window_fixture.h"
#include "window/radio_test_helpers.h"
#include "vcl/keyboard_helpers.h"
#include "vcl/pointer_helpers.h"

namespace {

using keyboard::FocusedControl;
using keyboard::PressTab;
using keyboard::ShowActive;
using keyboard::TabRound;

class FullEditionKeyboardTest : public MainWindowTest {
protected:
    void TearDown() override {
        if (Form1) Form1->Hide();
        MainWindowTest::TearDown();
    }
};

TEST_F(FullEditionKeyboardTest, ThePagesTabsComeAfterTheLogAndOnlyTheShownPageIsVisited) {
    CreateWindows();
    ASSERT_TRUE(ShowActive(*Form1));
    // No radio: the ports group is empty and "Connection" disabled; both
    // are passed by.
    std::vector<String> walk = TabRound(*Form1);
    ASSERT_GE(walk.size(), 3u);
    EXPECT_EQ(std::vector<String>(walk.begin(), walk.begin() + 3),
              (std::vector<String>{"Memo1", "PageControl1", "ChBx0"}));
    EXPECT_EQ(walk.size(), 2u + 5u * RowCount + 2u);  // ... Track_tx_99, ComboBox1, Button1

    Form1->PageControl1->SetActivePage(Form1->TabSheet2);
    walk = TabRound(*Form1);
    // The bars in their tab order; Write (disabled) is passed by; the
    // range group is one stop.
    EXPECT_EQ(walk, (std::vector<String>{"Memo1", "PageControl1", "TrackBar1", "TrackBar2", "TrackBar3",
                                         "TrackBar4", "TrackBar5", "TrackBar6", "TrackBar7", "TrackBar8",
                                         "RadioGroup2", "ComboBox1", "Button1"}));
    std::vector<String> back = TabRound(*Form1, true);
    EXPECT_EQ(std::vector<String>(back.begin(), back.begin() + 3),
              (std::vector<String>{"ComboBox1", "RadioGroup2", "TrackBar8"}));
}

TEST_F(FullEditionKeyboardTest, ArrowKeysInTheRangeGroupChangeTheRangeOncePerMove) {
    CreateWindows();
    Form1->PageControl1->SetActivePage(Form1->TabSheet2);
    int clicks = 0;
    TNotifyEvent original = Form1->RadioGroup2->OnClick;
    Form1->RadioGroup2->OnClick = [&](TObject* s) {
        ++clicks;
        original(s);
    };
    ASSERT_TRUE(ShowActive(*Form1));
    for (int i = 0; i < 20 && FocusedControl(*Form1) != "RadioGroup2"; ++i) PressTab(*Form1, 1);
    EXPECT_EQ(clicks, 0);  // Tab chose no range
    ASSERT_EQ(FocusedControl(*Form1), "RadioGroup2");
    EXPECT_EQ(Form1->RadioGroup2->ItemIndex(), 0);

    const struct {
        Qt::Key key;
        int range, lowestCode, rowCode;  // a higher range: rows at its lowest code, a lower one: its highest
    } moves[] = {{Qt::Key_Down, 1, 280, 280}, {Qt::Key_Down, 2, 960, 960}, {Qt::Key_Right, 3, 1320, 1320},
                 {Qt::Key_Down, 0, 0, 279},   {Qt::Key_Up, 3, 1320, 1320}};
    int expected = 0;
    for (const auto& m : moves) {
        QTest::keyClick(QApplication::focusWidget(), m.key);
        EXPECT_EQ(Form1->RadioGroup2->ItemIndex(), m.range);
        EXPECT_EQ(clicks, ++expected);
        // The rows are bounded by the new range at once.
        EXPECT_EQ(Form1->FTrackRx[0]->Min(), m.lowestCode);
        EXPECT_EQ(Form1->FTrackRx[0]->Position(), m.rowCode);
    }
    EXPECT_EQ(Form1->Panel1->Caption(), "Working Range: 66.000-88.000 MHz");
}

TEST_F(FullEditionKeyboardTest, TheOptionsTrackBarsAreNamedAfterTheirCaptions) {
    CreateWindows();
    Form1->PageControl1->SetActivePage(Form1->TabSheet2);
    TTrackBar* const bars[] = {Form1->TrackBar1, Form1->TrackBar2, Form1->TrackBar3, Form1->TrackBar4,
                               Form1->TrackBar5, Form1->TrackBar6, Form1->TrackBar7, Form1->TrackBar8};
    const char* const names[] = {"Level Deviation", "Speech Level",  "Gain on",        "Level CTCSS on transfer",
                                 "Level CTCSS on reception", "Volume", "Squelcher Level", "Level analog SQL"};
    for (int i = 0; i < 8; ++i) {
        QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(bars[i]->Widget());
        EXPECT_EQ(bar->text(QAccessible::Name).toStdString(), names[i]);
        EXPECT_EQ(bar->role(), QAccessible::Slider);
        EXPECT_EQ(bar->valueInterface()->currentValue().toInt(), bars[i]->Position());
    }
    // Moved by a screen reader as by the thumb: its value label follows.
    QAccessible::queryAccessibleInterface(Form1->TrackBar6->Widget())->valueInterface()->setCurrentValue(3);
    EXPECT_EQ(Form1->TrackBar6->Position(), 3);
    EXPECT_EQ(Form1->Label19->Caption(), "3");
}

// Each bar from the middle of its range: a line left and right, a page
// down and up, Home and End, with one OnChange for each real move and its
// value label following.
TEST_F(FullEditionKeyboardTest, OptionBarsStepALineOrAPageAndHomeAndEndGoToTheBounds) {
    CreateWindows();
    Form1->PageControl1->SetActivePage(Form1->TabSheet2);
    ASSERT_TRUE(ShowActive(*Form1));
    TTrackBar* const bars[] = {Form1->TrackBar1, Form1->TrackBar2, Form1->TrackBar3, Form1->TrackBar4,
                               Form1->TrackBar5, Form1->TrackBar6, Form1->TrackBar7, Form1->TrackBar8};
    TLabel* const labels[] = {Form1->Label9,  Form1->Label10, Form1->Label11, Form1->Label12,
                              Form1->Label13, Form1->Label19, Form1->Label20, Form1->Label22};
    for (int i = 0; i < 8; ++i) {
        TTrackBar* bar = bars[i];
        const int max = bar->Max(), middle = max / 2;
        bar->SetPosition(middle);
        int changes = 0;
        TNotifyEvent original = bar->OnChange;
        bar->OnChange = [&changes, original](TObject* s) {
            ++changes;
            original(s);
        };
        bar->SetFocus();
        const struct {
            Qt::Key key;
            int position;
        } presses[] = {{Qt::Key_Right, middle + 1}, {Qt::Key_Left, middle},     {Qt::Key_PageDown, middle + 2},
                       {Qt::Key_PageUp, middle},    {Qt::Key_Down, middle + 1}, {Qt::Key_Up, middle},
                       {Qt::Key_End, max},          {Qt::Key_Right, max},       {Qt::Key_Home, 0},
                       {Qt::Key_PageUp, 0}};
        for (const auto& p : presses) {
            QTest::keyClick(QApplication::focusWidget(), p.key);
            EXPECT_EQ(bar->Position(), p.position) << bar->Name() << " " << p.key;
        }
        EXPECT_EQ(changes, 8) << bar->Name();
        const String zero = i < 5 ? "Off" : "0";
        EXPECT_EQ(labels[i]->Caption(), zero) << bar->Name();
        bar->OnChange = original;
    }
}

// Not focused, a bar lets the wheel pass: no value moves, no label changes.
TEST_F(FullEditionKeyboardTest, TheWheelOverAnUnfocusedOptionBarChangesNothing) {
    CreateWindows();
    Form1->PageControl1->SetActivePage(Form1->TabSheet2);
    ASSERT_TRUE(ShowActive(*Form1));
    Form1->TrackBar6->SetFocus();
    int changes = 0;
    for (TTrackBar* bar : {Form1->TrackBar1, Form1->TrackBar2, Form1->TrackBar3, Form1->TrackBar4,
                           Form1->TrackBar5, Form1->TrackBar7, Form1->TrackBar8}) {
        bar->SetPosition(3);
        bar->OnChange = [&changes](TObject*) { ++changes; };
        pointer::TurnWheel(bar->Widget(), -2);
        pointer::TurnWheel(bar->Widget(), 1);
        EXPECT_EQ(bar->Position(), 3) << bar->Name();
    }
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(Form1->Label22->Caption(), "3");  // set before the handler was replaced
    // The focused one takes it.
    pointer::TurnWheel(Form1->TrackBar6->Widget(), -2);
    EXPECT_EQ(Form1->TrackBar6->Position(), 2);
    EXPECT_EQ(Form1->Label19->Caption(), "2");
}

// A click on a tab gives the keyboard to the page control, from a row's
// bar or from Exit: the wheel then moves no option and the Options Write
// sends nothing. Left and Right go from page to page, not round; the wheel
// over the tabs leaves the page where it is.
TEST_F(FullEditionKeyboardTest, AClickOnATabFocusesThePageControlWhoseArrowsNotTheWheelTurnThePages) {
    sim::RadioSim& radio = StartConnected();
    ASSERT_TRUE(ShowActive(*Form1));
    radio.SetMemory(radio_test::FullImage());
    Form1->Button3->Click();
    ASSERT_EQ(LogLines().back(), "Data block succefully read from device");
    radio.ClearFrames();
    QWidget* window = Form1->Widget();
    QTabBar* tabs = static_cast<QTabWidget*>(Form1->PageControl1->Widget())->tabBar();
    const int deviation = Form1->TrackBar1->Position();
    const String deviationText = Form1->Label9->Caption();

    for (TWinControl* before : std::initializer_list<TWinControl*>{Form1->FTrackRx[2], Form1->Button1}) {
        SCOPED_TRACE(before->Name());
        Form1->PageControl1->SetActivePage(Form1->TabSheet1);
        before->SetFocus();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, tabs->mapTo(window, tabs->tabRect(1).center()));
        EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet2);
        EXPECT_EQ(FocusedControl(*Form1), "PageControl1");
        pointer::TurnWheel(Form1->TrackBar1->Widget(), -1);
        EXPECT_EQ(Form1->TrackBar1->Position(), deviation);
        EXPECT_EQ(Form1->Label9->Caption(), deviationText);
        Form1->WriteOptions();
        EXPECT_TRUE(radio.Writes().empty());
    }

    // Two pages: Left always ends on the first, Right on the second.
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Left, Qt::Key_Right, Qt::Key_Right, Qt::Key_Left}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(Form1->PageControl1->ActivePage(), key == Qt::Key_Left ? Form1->TabSheet1 : Form1->TabSheet2) << key;
        EXPECT_EQ(FocusedControl(*Form1), "PageControl1");
    }
    for (int notches : {-1, 1, 1, -1}) {
        pointer::TurnWheel(tabs, tabs->tabRect(0).center(), notches);
        EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet1) << notches;
    }
    // From the tabs Tab goes into the page shown.
    EXPECT_EQ(PressTab(*Form1, 1), std::vector<String>{"ChBx0"});
}

}  // namespace
