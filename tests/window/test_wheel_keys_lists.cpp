// The channel table and the rate box under the mouse wheel, the row track
// bars under their keys, and the drop-down lists of the tone chooser and
// the rate box, as a user meets them in either edition: wheel turns from
// the window system at a point of the window, real key presses on the
// focused bar, real clicks and keys in the opened lists.
#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>

#include "vcl/keyboard_helpers.h"
#include "vcl/pointer_helpers.h"
#include "window/main_window_fixture.h"
#include "window/radio_test_helpers.h"

namespace {

using keyboard::FocusedControl;
using keyboard::PressTab;
using keyboard::ShowActive;
using pointer::TurnWheel;

class WheelKeysListsTest : public MainWindowTest {
protected:
    void TearDown() override {
        if (Form1) Form1->Hide();
        MainWindowTest::TearDown();
    }

    // Counts the runs of an event; the handler it had still does its work.
    int* Count(TNotifyEvent& event) {
        auto* count = new int(0);
        counters.emplace_back(count);
        TNotifyEvent original = event;
        event = [count, original](TObject* s) {
            ++*count;
            if (original) original(s);
        };
        return count;
    }

    // The positions a bar's OnChange finds, one per run.
    std::vector<int>* Positions(TTrackBar* bar) {
        positions.emplace_back(new std::vector<int>);
        std::vector<int>* seen = positions.back().get();
        TNotifyEvent original = bar->OnChange;
        bar->OnChange = [seen, original](TObject* s) {
            seen->push_back(static_cast<TTrackBar*>(s)->Position());
            if (original) original(s);
        };
        return seen;
    }

    int Scrolled() const { return Form1->ScrollBox1->VertScrollPosition(); }

    // The pointer comes onto a tone label: the tone chooser stands over it.
    QComboBox* HoverTone(TLabel* label, int row) {
        QWidget* window = Form1->Widget();
        auto* combo = static_cast<QComboBox*>(Form1->CurrentCombo->Widget());
        const QPoint onLabel = label->Widget()->mapTo(window, QPoint(10, label->Height() / 2));
        QTest::mouseMove(window->windowHandle(), onLabel - QPoint(0, 40));
        QTest::mouseMove(window->windowHandle(), onLabel);
        EXPECT_TRUE(QTest::qWaitFor([&] { return combo->isVisible() && combo->y() == label->Top() - 3; }, 2000));
        EXPECT_EQ(Form1->FCtcssRow, row);
        return combo;
    }
    QComboBox* HoverRxTone(int row) { return HoverTone(Form1->FCtcssRxLabel[row], row); }

    // Clicks the box and waits for its list.
    static QAbstractItemView* Open(QComboBox* box) {
        QTest::mouseClick(box->window()->windowHandle(), Qt::LeftButton, {},
                          box->mapTo(box->window(), box->rect().center()));
        QAbstractItemView* view = box->view();
        EXPECT_TRUE(QTest::qWaitFor([&] { return view->isVisible(); }, 2000));
        return view;
    }

    // The items of an opened list that are wholly in view.
    static std::vector<int> RowsInView(QAbstractItemView* view) {
        std::vector<int> rows;
        const QRect shown = view->viewport()->rect();
        for (int i = 0; i < view->model()->rowCount(); ++i)
            if (shown.contains(view->visualRect(view->model()->index(i, 0)))) rows.push_back(i);
        return rows;
    }

    // The list lies below its box, its left edge on the box's.
    static void ExpectBelow(QAbstractItemView* view, QComboBox* box) {
        const QRect list = view->window()->geometry();
        const QPoint boxBottomLeft = box->mapToGlobal(QPoint(0, box->height()));
        EXPECT_NEAR(list.top(), boxBottomLeft.y(), 3);
        EXPECT_NEAR(list.left(), boxBottomLeft.x(), 3);
    }

    std::vector<std::unique_ptr<int>> counters;
    std::vector<std::unique_ptr<std::vector<int>>> positions;
};

TEST_F(WheelKeysListsTest, TheWheelOverUnfocusedControlsScrollsTheTableAndChangesNoValue) {
    CreateWindows();
    ASSERT_TRUE(ShowActive(*Form1));
    QWidget* focus = QApplication::focusWidget();
    ASSERT_EQ(focus, Form1->Button1->Widget());
    ASSERT_EQ(Scrolled(), 0);

    // A row's receive bar beneath the pointer, three notches towards the
    // user, as when scrolling down the table.
    QWidget* window = Form1->Widget();
    TTrackBar* bar = Form1->FTrackRx[1];
    const QPoint overBar = bar->Widget()->mapTo(window, bar->Widget()->rect().center());
    for (int n = 0; n < RowCount; ++n) {
        Positions(Form1->FTrackRx[n]);
        Positions(Form1->FTrackTx[n]);
    }
    TurnWheel(window, overBar, -3);
    EXPECT_EQ(bar->Position(), 1);
    EXPECT_EQ(Form1->FEd1[1]->Text(), "33.025");
    EXPECT_GT(Scrolled(), 0);
    // Back up at the same place, over the bars of other rows now.
    TurnWheel(window, overBar, 3);
    EXPECT_EQ(Scrolled(), 0);
    for (const auto& seen : positions) EXPECT_TRUE(seen->empty());
    for (int n = 0; n < RowCount; ++n) EXPECT_EQ(Form1->FTrackRx[n]->Position(), n);

    // An up-down and a read-only frequency edit pass the turn on as well.
    TurnWheel(Form1->FUdTx[2]->Widget(), -2);
    EXPECT_EQ(Form1->FUdTx[2]->Position(), 2);
    EXPECT_EQ(Form1->FTrackTx[2]->Position(), 2);
    EXPECT_GT(Scrolled(), 0);
    Form1->ScrollBox1->SetVertScrollPosition(0);
    TurnWheel(Form1->FEd2[3]->Widget(), -1);
    EXPECT_GT(Scrolled(), 0);
    Form1->ScrollBox1->SetVertScrollPosition(0);

    // The tone chooser shown over a label by the pointer.
    QComboBox* combo = HoverRxTone(1);
    int* toneChanges = Count(Form1->CurrentCombo->OnChange);
    TurnWheel(combo, -2);
    EXPECT_EQ(Form1->CurrentCombo->ItemIndex(), 0);
    EXPECT_EQ(Form1->FCtcssRx[1], 0);
    EXPECT_EQ(Form1->FCtcssRxLabel[1]->Caption(), "Off");
    EXPECT_EQ(*toneChanges, 0);
    EXPECT_GT(Scrolled(), 0);
    Form1->ScrollBox1->SetVertScrollPosition(0);

    // The rate box lies outside the table: nothing under it scrolls, and
    // the rate stays.
    TComboBox* rate = Form1->ComboBox1;
    int* rateChanges = Count(rate->OnChange);
    TurnWheel(rate->Widget(), -1);
    TurnWheel(rate->Widget(), 1);
    TurnWheel(rate->Widget(), -1);
    EXPECT_EQ(rate->ItemIndex(), 0);
    EXPECT_EQ(*rateChanges, 0);
    EXPECT_EQ(Scrolled(), 0);

    // No turn took the focus.
    EXPECT_EQ(QApplication::focusWidget(), focus);
}

TEST_F(WheelKeysListsTest, AFocusedBarOrBoxTakesTheWheelOneStepAndOneOnChangePerNotch) {
    CreateWindows();
    ASSERT_TRUE(ShowActive(*Form1));
    TTrackBar* bar = Form1->FTrackRx[1];
    std::vector<int>* seen = Positions(bar);
    bar->SetFocus();
    ASSERT_EQ(QApplication::focusWidget(), bar->Widget());

    TurnWheel(bar->Widget(), -1);  // towards the user: one line up the range
    EXPECT_EQ(*seen, std::vector<int>{2});
    TurnWheel(bar->Widget(), -3);  // three notches in one turn: three steps
    EXPECT_EQ(*seen, (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(Form1->FEd1[1]->Text(), "33.125");
    EXPECT_EQ(Form1->FUdRx[1]->Position(), 5);
    TurnWheel(bar->Widget(), 2);  // away from the user: down the range
    EXPECT_EQ(bar->Position(), 3);
    // A fine-stepping wheel: two half notches make one step.
    TurnWheel(bar->Widget(), bar->Widget()->rect().center(), 0, -60);
    EXPECT_EQ(bar->Position(), 3);
    TurnWheel(bar->Widget(), bar->Widget()->rect().center(), 0, -60);
    EXPECT_EQ(bar->Position(), 4);
    EXPECT_EQ(seen->size(), 7u);
    // At its bound the bar stays and runs nothing.
    TurnWheel(bar->Widget(), 6);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(seen->size(), 11u);
    TurnWheel(bar->Widget(), 2);
    EXPECT_EQ(seen->size(), 11u);
    EXPECT_EQ(Scrolled(), 0);  // the turns were the bar's

    // The focused rate box steps through its rates, one OnChange a notch.
    TComboBox* rate = Form1->ComboBox1;
    int* rateChanges = Count(rate->OnChange);
    rate->SetFocus();
    TurnWheel(rate->Widget(), -1);
    EXPECT_EQ(rate->ItemIndex(), 1);
    EXPECT_EQ(*rateChanges, 1);
    TurnWheel(rate->Widget(), 1);
    EXPECT_EQ(rate->ItemIndex(), 0);
    EXPECT_EQ(*rateChanges, 2);
}

TEST_F(WheelKeysListsTest, RowBarKeysStepALineOrAPageAndHomeAndEndGoToTheBounds) {
    CreateWindows();
    ASSERT_TRUE(ShowActive(*Form1));
    TTrackBar* bar = Form1->FTrackRx[5];
    const int max = bar->Max();
    ASSERT_EQ(bar->Min(), 0);
    ASSERT_GT(max, 10);
    std::vector<int>* seen = Positions(bar);
    bar->SetFocus();

    const struct {
        Qt::Key key;
        int position;
    } presses[] = {{Qt::Key_Left, 4},    {Qt::Key_Up, 3},       {Qt::Key_Right, 4},    {Qt::Key_Down, 5},
                   {Qt::Key_PageUp, 3},  {Qt::Key_PageDown, 5}, {Qt::Key_Home, 0},     {Qt::Key_Home, 0},
                   {Qt::Key_Up, 0},      {Qt::Key_PageUp, 0},   {Qt::Key_End, max},    {Qt::Key_End, max},
                   {Qt::Key_Down, max},  {Qt::Key_PageDown, max}, {Qt::Key_Up, max - 1}, {Qt::Key_PageDown, max}};
    std::vector<int> expected;
    int last = 5;
    for (const auto& p : presses) {
        QTest::keyClick(QApplication::focusWidget(), p.key);
        EXPECT_EQ(bar->Position(), p.position) << p.key;
        if (p.position != last) expected.push_back(p.position);
        last = p.position;
    }
    // One OnChange for each real move, none at a bound.
    EXPECT_EQ(*seen, expected);
    EXPECT_EQ(Form1->FUdRx[5]->Position(), max);
    EXPECT_EQ(Form1->FEd1[5]->Text(), MHzText(max));
    EXPECT_EQ(QApplication::focusWidget(), bar->Widget());

    // The transmit bar of another row alike; the receive bar stays.
    TTrackBar* tx = Form1->FTrackTx[7];
    tx->SetFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(tx->Position(), 8);
    EXPECT_EQ(Form1->FEd2[7]->Text(), "33.200");
    EXPECT_EQ(bar->Position(), max);
}

TEST_F(WheelKeysListsTest, TheToneListOpensBelowItsBoxEightTonesTallWithTheChosenToneInView) {
    CreateWindows();
    ASSERT_TRUE(ShowActive(*Form1));
    Form1->FCtcssRx[1] = 30;
    QComboBox* combo = HoverRxTone(1);
    ASSERT_EQ(combo->currentIndex(), 30);
    int* changes = Count(Form1->CurrentCombo->OnChange);

    QAbstractItemView* view = Open(combo);
    ExpectBelow(view, combo);
    const std::vector<int> rows = RowsInView(view);
    EXPECT_EQ(rows.size(), 8u);
    EXPECT_NE(std::find(rows.begin(), rows.end(), 30), rows.end());
    EXPECT_TRUE(view->verticalScrollBar()->isVisible());
    EXPECT_LT(view->window()->height(), 12 * view->sizeHintForRow(0));

    // Two down and Enter: tone 32 for the row, and the chooser goes.
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !view->isVisible(); }, 2000));
    EXPECT_EQ(*changes, 1);
    EXPECT_EQ(Form1->FCtcssRx[1], 32);
    EXPECT_EQ(Form1->FCtcssRxLabel[1]->Caption(), "173,8 Hz");
    EXPECT_FALSE(combo->isVisible());
}

// The chooser hides while it has the focus, moved on to another label or
// when a tone is chosen: no control keeps the focus, the table stays where
// it is, keys change nothing, and Write sends the chosen tone alone.
TEST_F(WheelKeysListsTest, TheToneChooserGoingAwayFocusedLeavesTheTableAndTheKeysAlone) {
    sim::RadioSim& radio = StartConnected();
    ASSERT_TRUE(Connected);
    ASSERT_TRUE(ShowActive(*Form1));
    radio.SetMemory(radio_test::FullImage());
    Form1->Button3->Click();
    ASSERT_EQ(LogLines().back(), "Data block succefully read from device");
    radio.ClearFrames();
    const int row = 24;
    Form1->ScrollBox1->SetVertScrollPosition(Form1->FRowLabel[row]->Top() - 40);
    const int scrolled = Scrolled();
    ASSERT_GT(scrolled, 0);

    // Opened and closed again with Escape: the chooser has the focus when
    // the pointer takes it on to the transmit label of the next row.
    QComboBox* combo = HoverRxTone(row);
    QAbstractItemView* view = Open(combo);
    QTest::keyClick(view, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->isVisible(); }, 2000));
    ASSERT_EQ(QApplication::focusWidget(), combo);
    HoverTone(Form1->FCtcssTxLabel[row + 1], row + 1);
    EXPECT_EQ(FocusedControl(*Form1), "-");
    EXPECT_EQ(Scrolled(), scrolled);

    // A tone chosen there with the keys of its list.
    const int tone = Form1->FCtcssTx[row + 1] + 1;
    view = Open(combo);
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !combo->isVisible(); }, 2000));
    EXPECT_EQ(Form1->FCtcssTx[row + 1], tone);
    EXPECT_EQ(FocusedControl(*Form1), "-");
    EXPECT_EQ(QApplication::focusWidget(), Form1->Widget());
    EXPECT_EQ(Scrolled(), scrolled);

    const std::vector<std::string> rows = radio_test::RowsState(*Form1);
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Down, Qt::Key_Up, Qt::Key_Right, Qt::Key_Left, Qt::Key_Space})
        QTest::keyClick(QApplication::focusWidget(), key);
    EXPECT_EQ(radio_test::RowsState(*Form1), rows);
    EXPECT_EQ(Scrolled(), scrolled);

    Form1->WriteChannels();
    EXPECT_EQ(radio_test::WritesTo(radio), (std::vector<radio_test::Written>{{5 * (row + 1) + 4, tone}}));
    // Tab starts again from the first stop.
    EXPECT_EQ(PressTab(*Form1, 1), std::vector<String>{"Button1"});
}

TEST_F(WheelKeysListsTest, TheRateListOpensBelowItsBoxWithAllThreeRates) {
    CreateWindows();
    ASSERT_TRUE(ShowActive(*Form1));
    auto* box = static_cast<QComboBox*>(Form1->ComboBox1->Widget());
    int* changes = Count(Form1->ComboBox1->OnChange);

    QAbstractItemView* view = Open(box);
    ExpectBelow(view, box);
    EXPECT_EQ(RowsInView(view), (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(view->verticalScrollBar()->isVisible());

    // A click on an item: the list takes no release until a double click's
    // time after it opened (the release of the click that opened it).
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    const QRect rate19200 = view->visualRect(view->model()->index(2, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rate19200.center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !view->isVisible(); }, 2000));
    EXPECT_EQ(Form1->ComboBox1->ItemIndex(), 2);
    EXPECT_EQ(Form1->ComboBox1->Text(), "19200");
    EXPECT_EQ(*changes, 1);
}

}  // namespace
