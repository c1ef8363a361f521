// Controls whose value code and user set alike: track bar, radio group,
// check box, up-down and combo box.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>

#include "platform/vcl/vcl.h"
#include "vcl/keyboard_helpers.h"

namespace {

class ValueControls : public ::testing::Test {
protected:
    TForm form{Application};
    std::vector<String> events;
    TNotifyEvent Record(const String& what) {
        return [this, what](TObject*) { events.push_back(what); };
    }
};

TEST_F(ValueControls, TrackBarRefusesCrossedBoundsAndChangesOnlyOnARealMove) {
    auto* bar = new TTrackBar(&form);
    bar->SetParent(&form);
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 10);
    std::vector<int> seen;
    bar->OnChange = [&](TObject* s) { seen.push_back(static_cast<TTrackBar*>(s)->Position()); };

    bar->SetMin(20);  // above Max: refused
    EXPECT_EQ(bar->Min(), 0);
    bar->SetMax(-1);  // below Min: refused
    EXPECT_EQ(bar->Max(), 10);
    EXPECT_TRUE(seen.empty());

    bar->SetPosition(15);  // limited to Max
    bar->SetPosition(10);  // already there
    bar->SetPosition(-5);  // limited to Min
    EXPECT_EQ(seen, (std::vector<int>{10, 0}));

    // Max before Min: a bound that moves the position runs OnChange too.
    seen.clear();
    bar->SetMax(2200);
    bar->SetMin(1320);
    EXPECT_EQ(bar->Position(), 1320);
    bar->SetMax(1500);  // the position stays inside: nothing
    bar->SetPosition(1500);
    bar->SetMax(1400);
    EXPECT_EQ(seen, (std::vector<int>{1320, 1500, 1400}));
    bar->SetMin(1400);  // equal bounds are allowed
    EXPECT_EQ(bar->Min(), 1400);

    // The widget follows, and the user's move runs the same handler.
    auto* slider = static_cast<QSlider*>(bar->Widget());
    EXPECT_EQ(slider->minimum(), 1400);
    EXPECT_EQ(slider->maximum(), 1400);
    bar->SetMin(0);
    seen.clear();
    slider->setValue(7);
    slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->Position(), 8);
    EXPECT_EQ(seen, (std::vector<int>{7, 8}));
}

TEST_F(ValueControls, RadioGroupIndexRulesAndClicks) {
    auto* group = new TRadioGroup(&form);
    group->SetParent(&form);
    group->OnClick = Record("click");
    group->SetItemIndex(0);  // no items: nothing to select
    EXPECT_EQ(group->ItemIndex(), -1);
    group->Items().Add("a");
    group->Items().Add("b");
    group->Items().Add("c");
    EXPECT_TRUE(events.empty());

    group->SetItemIndex(1);
    group->SetItemIndex(1);  // the same item: nothing
    EXPECT_EQ(events.size(), 1u);
    group->SetItemIndex(7);  // above the last: the last
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_EQ(events.size(), 2u);
    group->SetItemIndex(-5);  // below -1: no item, and no item is clicked
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_EQ(events.size(), 2u);

    // The buttons show the index, and a user's click is SetItemIndex.
    QList<QRadioButton*> buttons = group->Widget()->findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 3);
    for (QRadioButton* b : buttons) EXPECT_FALSE(b->isChecked());
    buttons[0]->click();
    EXPECT_EQ(group->ItemIndex(), 0);
    EXPECT_EQ(events.size(), 3u);
    buttons[0]->click();  // again: stays checked, runs nothing
    EXPECT_TRUE(buttons[0]->isChecked());
    EXPECT_EQ(events.size(), 3u);
    group->SetItemIndex(2);
    EXPECT_TRUE(buttons[2]->isChecked());
    EXPECT_FALSE(buttons[0]->isChecked());

    // Fewer items bring the index down with them, silently.
    group->Items().Delete(2);
    EXPECT_EQ(group->ItemIndex(), 1);
    group->Items().Clear();
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_EQ(events.size(), 4u);
}

TEST_F(ValueControls, CheckBoxClicksOnEveryChangeOfState) {
    auto* box = new TCheckBox(&form);
    box->SetParent(&form);
    box->OnClick = Record("click");
    box->SetState(cbChecked);
    box->SetChecked(true);  // no change
    box->SetChecked(false);
    EXPECT_EQ(events.size(), 2u);

    box->Click();  // the user's click toggles
    EXPECT_TRUE(box->Checked());
    static_cast<QCheckBox*>(box->Widget())->click();
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(events.size(), 4u);
    EXPECT_FALSE(static_cast<QCheckBox*>(box->Widget())->isChecked());

    box->SetEnabled(false);
    box->Click();  // a disabled box takes no click
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(events.size(), 4u);
}

TEST_F(ValueControls, UpDownStepsWithinItsBoundsAndRunsNothingFromCode) {
    auto* ud = new TUpDown(&form);
    ud->SetParent(&form);
    ud->SetOrientation(udHorizontal);
    std::vector<String> clicks;
    ud->OnClick = [&](TObject*, TUDBtnType b) {
        clicks.push_back((b == btNext ? "next " : "prev ") + std::to_string(ud->Position()));
    };
    ud->SetMax(2200);
    ud->SetMin(1320);
    EXPECT_EQ(ud->Position(), 1320);
    ud->SetPosition(5000);
    EXPECT_EQ(ud->Position(), 2200);
    EXPECT_TRUE(clicks.empty());

    ud->ClickButton(btNext);  // at the top: stays, no wrap
    ud->ClickButton(btPrev);
    ud->SetPosition(1320);
    ud->ClickButton(btPrev);  // at the bottom: stays
    EXPECT_EQ(clicks, (std::vector<String>{"next 2200", "prev 2199", "prev 1320"}));

    // The arrows: left steps down, right steps up.
    QList<QToolButton*> arrows = ud->Widget()->findChildren<QToolButton*>();
    ASSERT_EQ(arrows.size(), 2);
    EXPECT_EQ(arrows[0]->arrowType(), Qt::LeftArrow);
    arrows[1]->click();
    EXPECT_EQ(ud->Position(), 1321);
    EXPECT_EQ(clicks.back(), "next 1321");

    ud->SetMax(40000);  // the position is 16-bit
    EXPECT_EQ(ud->Max(), 32767);
}

// Real clicks in the window: the arrows are the halves of the control,
// also after it turns upright and grows while shown.
TEST_F(ValueControls, UpDownArrowsAreTheHalvesTheMouseClicks) {
    form.SetClientSize(200, 100);
    auto* ud = new TUpDown(&form);
    ud->SetParent(&form);
    ud->SetOrientation(udHorizontal);
    ud->SetBounds(10, 10, 40, 10);
    std::vector<String> clicks;
    ud->OnClick = [&](TObject*, TUDBtnType b) { clicks.push_back(b == btNext ? "next" : "prev"); };
    ASSERT_TRUE(keyboard::ShowActive(form));
    auto click = [&](int x, int y) {
        QWidget* window = form.Widget();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, form.ClientWidget()->mapTo(window, QPoint(x, y)));
    };
    click(14, 15);
    click(46, 15);
    EXPECT_EQ(clicks, (std::vector<String>{"prev", "next"}));

    clicks.clear();
    ud->SetOrientation(udVertical);
    ud->SetBounds(100, 10, 17, 40);
    click(108, 14);
    click(108, 46);
    EXPECT_EQ(clicks, (std::vector<String>{"next", "prev"}));
    form.Hide();
}

TEST_F(ValueControls, ComboBoxRunsOnChangeOnlyForTheUsersChoice) {
    auto* combo = new TComboBox(&form);
    combo->SetParent(&form);
    combo->SetStyle(csDropDownList);
    combo->OnChange = Record("change");
    combo->Items().Add("Off");
    combo->Items().Add("67,0 Hz");
    combo->Items().Add("69,3 Hz");
    EXPECT_EQ(combo->ItemIndex(), -1);  // adding selects nothing

    combo->SetItemIndex(2);
    EXPECT_EQ(combo->Text(), "69,3 Hz");
    combo->SetItemIndex(9);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_TRUE(events.empty());

    auto* box = static_cast<QComboBox*>(combo->Widget());
    EXPECT_FALSE(box->isEditable());
    box->setCurrentIndex(1);  // what the list does when the user picks
    emit box->activated(1);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(events.size(), 1u);
    combo->Select(0);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(events.size(), 2u);
}

}  // namespace
