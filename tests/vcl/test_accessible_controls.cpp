// What a screen reader is told of controls without a caption of their
// own: the label above them or after them names them, never one across
// another control; and hidden lists expose no items. (The channel table's
// row and column names are tested on the main window.)
#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QListWidget>

#include "platform/vcl/vcl.h"
#include "vcl/accessible_helpers.h"
#include "vcl/keyboard_helpers.h"

namespace {

using accessible::Name;

template <class T>
T* Make(TForm& form, TWinControl* parent, int left, int top, int width = -1) {
    T* c = new T(&form);
    c->SetParent(parent);
    c->SetLeft(left);
    c->SetTop(top);
    if (width >= 0) c->SetWidth(width);
    return c;
}

TLabel* Caption(TForm& form, TWinControl* parent, const String& text, int left, int top) {
    TLabel* label = Make<TLabel>(form, parent, left, top);
    label->SetCaption(text);
    return label;
}

TEST(AccessibleNames, ALabelAboveOrAfterAControlNamesItButNotAcrossAnother) {
    TForm form(Application);
    form.SetClientSize(400, 300);
    Caption(form, &form, "Level Deviation", 13, 8);
    TTrackBar* level = Make<TTrackBar>(form, &form, 11, 24);
    level->SetBounds(11, 24, 150, 25);
    Caption(form, &form, "Off", 163, 24);  // the first bar's value, in the second bar's row
    Caption(form, &form, "Volume", 212, 8);
    TTrackBar* volume = Make<TTrackBar>(form, &form, 203, 24);
    volume->SetBounds(203, 24, 150, 25);
    Caption(form, &form, "Rate RS232", 8, 136);
    TComboBox* rate = Make<TComboBox>(form, &form, 8, 160, 129);
    TMaskEdit* mhz = Make<TMaskEdit>(form, &form, 8, 220, 65);
    Caption(form, &form, "MHz", 80, 220);
    // A button between a label and an edit: the label names the button's
    // place, not the edit.
    Caption(form, &form, "Ports", 200, 150);
    Make<TButton>(form, &form, 200, 170);
    TEdit* below = Make<TEdit>(form, &form, 200, 200, 80);
    TCheckBox* captioned = Make<TCheckBox>(form, &form, 300, 260);
    captioned->SetCaption("In use");

    EXPECT_EQ(Name(level->Widget()), "Level Deviation");
    EXPECT_EQ(Name(volume->Widget()), "Volume");
    EXPECT_EQ(Name(rate->Widget()), "Rate RS232");
    EXPECT_EQ(Name(mhz->Widget()), "MHz");
    EXPECT_EQ(Name(below->Widget()), "");
    EXPECT_EQ(Name(captioned->Widget()), "In use");
}

TEST(AccessibleControls, HiddenListsExposeNoItems) {
    TForm form(Application);
    form.SetClientSize(360, 300);
    auto* list = Make<TListBox>(form, &form, 8, 8);
    list->Items().SetItems({"Working Range:", "33.000-39.975", "MHz"});
    list->SetItemIndex(1);
    list->Hide();
    list->Items().Add("Hz");
    Caption(form, &form, "Rate RS232", 8, 136);
    auto* rate = Make<TComboBox>(form, &form, 8, 160, 129);
    rate->Items().SetItems({"4800", "9600", "19200"});
    ASSERT_TRUE(keyboard::ShowActive(form));

    QAccessibleInterface* hidden = QAccessible::queryAccessibleInterface(list->Widget());
    EXPECT_TRUE(hidden->state().invisible);
    EXPECT_EQ(hidden->childCount(), 0);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(list->Items().Count(), 4);
    // The closed rate box shows its choice, not its list.
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(rate->Widget());
    EXPECT_EQ(box->childCount(), 0);

    // Shown, the list holds its items, the chosen one still chosen.
    list->Show();
    EXPECT_EQ(static_cast<QListWidget*>(list->Widget())->count(), 4);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_GT(QAccessible::queryAccessibleInterface(list->Widget())->childCount(), 0);
    // An open list is there to read.
    box->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    ASSERT_TRUE(QTest::qWaitFor([&] { return static_cast<QComboBox*>(rate->Widget())->view()->isVisible(); }, 2000));
    EXPECT_EQ(box->childCount(), 1);
    static_cast<QComboBox*>(rate->Widget())->hidePopup();

    // Nothing of the form that is hidden claims a place on screen.
    list->Hide();
    form.Hide();
    accessible::Walk(form.Widget(), [](QAccessibleInterface* a, const QString& path) {
        EXPECT_FALSE(accessible::ClaimsShowing(a)) << path.toStdString();
    });
}

}  // namespace
