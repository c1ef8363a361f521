// The channel table as it stands on screen, in both editions: every row
// number drawn whole in its own font.
#include <QFontMetrics>

#include "window/main_window_fixture.h"

namespace {

class TableInViewTest : public MainWindowTest {};

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

}  // namespace
