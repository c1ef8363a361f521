// A track bar under the mouse: a press beside the thumb pages towards the
// pointer, and goes on paging while the button is held until the thumb
// gets there; real presses and releases through the window.
#include <gtest/gtest.h>

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

    // The bar's range and page, and its thumb; the changes so far forgotten.
    void Start(int max, int page, int position) {
        bar->SetMax(max);
        bar->SetPageSize(page);
        bar->SetPosition(position);
        seen.clear();
    }
    // The point x pixels from the bar's left edge, half way down.
    QPoint At(int x) const { return bar->Widget()->mapTo(form.Widget(), QPoint(x, bar->Widget()->height() / 2)); }
    void Press(int x) { QTest::mousePress(form.Widget()->windowHandle(), Qt::LeftButton, {}, At(x)); }
    void Release(int x) { QTest::mouseRelease(form.Widget()->windowHandle(), Qt::LeftButton, {}, At(x)); }
    // Holds the button until no change has come for a second (twice the
    // repeat delay), then lets it go.
    void Hold(int x) {
        Press(x);
        for (size_t before = seen.size(); QTest::qWaitFor([&] { return seen.size() != before; }, 1000);)
            before = seen.size();
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
    Start(30, 3, 12);
    Press(right);
    Release(right);
    EXPECT_EQ(seen, std::vector<int>{15});
    EXPECT_TRUE(bar->Focused());
    Press(left);
    Release(left);
    EXPECT_EQ(seen, (std::vector<int>{15, 12}));

    // Held: a page at a time, to the end of the bar; each real step is one
    // change, and the bound stops it.
    Start(10, 3, 0);
    Hold(right);
    EXPECT_EQ(seen, (std::vector<int>{3, 6, 9, 10}));

    // Held in the middle: it stops where the thumb has reached the pointer,
    // half way, and stays there.
    Start(30, 2, 0);
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
