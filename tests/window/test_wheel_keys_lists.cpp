// The row track bars under their keys, as a user meets them in either
// edition: real key presses on the focused bar.
#include "vcl/keyboard_helpers.h"
#include "window/main_window_fixture.h"

namespace {

using keyboard::ShowActive;

class WheelKeysListsTest : public MainWindowTest {
protected:
    void TearDown() override {
        if (Form1) Form1->Hide();
        MainWindowTest::TearDown();
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

    std::vector<std::unique_ptr<std::vector<int>>> positions;
};

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

}  // namespace
