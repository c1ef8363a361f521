// The channel table as it stands on screen, in both editions: every row
// number drawn whole in its own font, and a screen reader told which rows
// are in the scroll box's view as the user scrolls it with the wheel.
#include <QAccessible>
#include <QFontMetrics>
#include <QScrollArea>
#include <QScrollBar>

#include "window/main_window_fixture.h"
#include "vcl/accessible_helpers.h"
#include "vcl/keyboard_helpers.h"
#include "vcl/pointer_helpers.h"

namespace {

class TableInViewTest : public MainWindowTest {
protected:
    static QScrollArea* Area() { return static_cast<QScrollArea*>(Form1->ScrollBox1->Widget()); }
    static QScrollBar* Bar() { return Area()->verticalScrollBar(); }

    // The row's controls, its labels and its line.
    static std::vector<TControl*> Row(int n) {
        TForm1& f = *Form1;
        return {f.FRowLabel[n], f.FChBx[n],    f.FEd1[n],          f.FTrackRx[n],      f.FUdRx[n],     f.FEd2[n],
                f.FTrackTx[n],  f.FUdTx[n],    f.FCtcssRxLabel[n], f.FCtcssTxLabel[n], f.FSeparator[n]};
    }

    // Every row's objects say they are showing exactly while some part of
    // them stands in the scroll box's view, rows of both kinds found; all
    // of row `whole`'s and none of row `none`'s (if given) showing.
    static void ExpectShowingAsInView(const char* where, int whole = -1, int none = -1) {
        QWidget* view = Area()->viewport();
        int in = 0, out = 0;
        for (int n = 0; n < RowCount; ++n) {
            for (TControl* c : Row(n)) {
                const QRect at(c->Widget()->mapTo(view, QPoint(0, 0)), c->Widget()->size());
                const bool inView = at.intersects(view->rect());
                (inView ? in : out)++;
                const bool showing = accessible::ClaimsShowing(QAccessible::queryAccessibleInterface(c->Widget()));
                EXPECT_EQ(showing, inView) << where << ": row " << n << " " << c->Name() << " at y " << at.y();
                if (n == whole || n == none) {
                    EXPECT_EQ(showing, n == whole) << where << ": row " << n << " " << c->Name();
                }
            }
        }
        EXPECT_TRUE(in > 0 && out > 0) << where;
    }

    // Turns the wheel over the scroll box until it scrolls no further.
    static void WheelToEnd(int notches) {
        for (int i = 0; i < 400; ++i) {
            const int before = Bar()->value();
            pointer::TurnWheel(Area(), notches);
            if (Bar()->value() == before) break;
        }
    }
};

TEST_F(TableInViewTest, EveryRowNumberIsTheSizeOfItsCaptionInItsOwnFont) {
    CreateWindows();
    for (int n = 0; n < RowCount; ++n) {
        TLabel* label = Form1->FRowLabel[n];
        const QFont font = label->Widget()->font();
        EXPECT_EQ(font.pixelSize(), 13) << n;  // size 10
        const QSize needed = QFontMetrics(font).size(0, QString::fromStdString(label->Caption()));
        EXPECT_EQ(QSize(label->Width(), label->Height()), needed) << "row " << n;
        EXPECT_EQ(label->Widget()->size(), needed) << "row " << n;
    }
}

TEST_F(TableInViewTest, RowsScrolledOutOfViewAreNotShowingUntilScrolledIn) {
    CreateWindows();
    ASSERT_TRUE(keyboard::ShowActive(*Form1));
    ASSERT_EQ(Bar()->value(), 0);
    ExpectShowingAsInView("at the top", 0, 99);

    WheelToEnd(-3);  // towards the user: down the table
    ASSERT_EQ(Bar()->value(), Bar()->maximum());
    ExpectShowingAsInView("at the bottom", 99, 0);

    // Part of the way back: the rows now in view, some only in part.
    for (int i = 0; i < 5; ++i) pointer::TurnWheel(Area(), 3);
    ASSERT_GT(Bar()->value(), 0);
    ExpectShowingAsInView("in the middle");

    // The whole window: nothing that does not stand in view is showing.
    int objects = 0, showing = 0;
    accessible::Walk(Form1->Widget(), [&](QAccessibleInterface* a, const QString& path) {
        ++objects;
        if (!accessible::ClaimsShowing(a)) return;
        ++showing;
        const QRect window(Form1->Widget()->mapToGlobal(QPoint(0, 0)), Form1->Widget()->size());
        EXPECT_TRUE(a->rect().intersects(window)) << path.toStdString();
    });
    EXPECT_LT(showing, objects / 2);
}

}  // namespace
