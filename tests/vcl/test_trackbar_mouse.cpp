// A track bar under the mouse: a press beside the thumb pages towards the
// pointer, and goes on paging while the button is held until the thumb
// gets there; real presses and releases through the window.
#include <gtest/gtest.h>

#include <QSlider>

#include "platform/vcl/vcl.h"
#include "vcl/keyboard_helpers.h"

namespace {

class TrackBarMouse : public ::testing::Test {
protected:
    void SetUp() override {
        form.SetClientSize(300, 80);
        bar = new TTrackBar(&form);
        bar->SetParent(&form);
        bar->SetBounds(10, 10, 150, 25);
        bar->OnChange = [this](TObject*) { seen.push_back(bar->Position()); };
        ASSERT_TRUE(keyboard::ShowActive(form));
    }
    void TearDown() override { form.Hide(); }

    // The point x pixels from the bar's left edge, half way down.
    QPoint At(int x) const {
        QWidget* window = form.Widget();
        return bar->Widget()->mapTo(window, QPoint(x, bar->Widget()->height() / 2));
    }
    void Press(int x) { QTest::mousePress(form.Widget()->windowHandle(), Qt::LeftButton, {}, At(x)); }
    void Release(int x) { QTest::mouseRelease(form.Widget()->windowHandle(), Qt::LeftButton, {}, At(x)); }
    // Holds the button until the changes stop coming (well past the
    // repeat delay), then lets it go.
    void Hold(int x) {
        Press(x);
        size_t before;
        do {
            before = seen.size();
            QTest::qWait(1000);
        } while (seen.size() != before);
        Release(x);
    }

    TForm form{Application};
    TTrackBar* bar = nullptr;
    std::vector<int> seen;
};

TEST_F(TrackBarMouse, APressBesideTheThumbPagesTowardsThePointerUntilTheThumbIsThere) {
    const int right = 146, left = 4;  // the bar's two ends

    // A click beside the thumb: one page, one change, either way; and the
    // bar has the keyboard afterwards.
    bar->SetMax(30);
    bar->SetPageSize(3);
    bar->SetPosition(12);
    seen.clear();
    Press(right);
    Release(right);
    EXPECT_EQ(seen, std::vector<int>{15});
    EXPECT_TRUE(bar->Focused());
    Press(left);
    Release(left);
    EXPECT_EQ(seen, (std::vector<int>{15, 12}));

    // Held: a page at a time, to the end of the bar; each real step is one
    // change, and the bound stops it.
    bar->SetMax(10);
    bar->SetPosition(0);
    seen.clear();
    Hold(right);
    EXPECT_EQ(seen, (std::vector<int>{3, 6, 9, 10}));

    // Held in the middle: it stops where the thumb has reached the pointer,
    // half way, and stays there.
    bar->SetMax(30);
    bar->SetPageSize(2);
    bar->SetPosition(0);
    seen.clear();
    Hold(75);
    ASSERT_GE(seen.size(), 3u);
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], 2 * static_cast<int>(i + 1));
    EXPECT_GE(bar->Position(), 12);
    EXPECT_LE(bar->Position(), 18);

    // On the thumb the press pages nothing.
    seen.clear();
    Hold(75);
    EXPECT_TRUE(seen.empty());
}

}  // namespace
