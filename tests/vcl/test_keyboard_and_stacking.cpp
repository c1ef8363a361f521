// Keyboard, mouse and assistive technology as the framework gives them:
// the tab order walked with Tab and Shift+Tab, radio groups as one tab
// stop with the arrow keys choosing, labels beneath windowed controls,
// forms and menus as a screen reader sees them, the tool window border.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QMenu>
#include <QRadioButton>
#include <QTimer>
#include <QToolTip>

#include "platform/vcl/vcl.h"
#include "vcl/form_helpers.h"
#include "vcl/keyboard_helpers.h"

namespace {

using forms::Make;
using keyboard::FocusedControl;
using keyboard::PressTab;
using keyboard::ShowActive;

// A radio group with three items whose OnClick runs are counted.
struct CountedGroup {
    TRadioGroup* group;
    int clicks = 0;
    CountedGroup(TForm& form, TWinControl* parent, const String& name, int left, int top) {
        group = Make<TRadioGroup>(form, parent, name, left, top);
        for (const char* item : {"A", "B", "C"}) group->Items().Add(item);
        group->OnClick = [this](TObject*) { ++clicks; };
    }
    QRadioButton* Button(int i) const {
        return group->Widget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly).at(i);
    }
};

TEST(TabOrder, TabAndShiftTabFollowTheTabOrderIntoEachContainer) {
    TForm form(Application);
    form.SetClientSize(400, 400);
    // Made in another order than the tab order.
    auto* box = Make<TGroupBox>(form, &form, "GroupBox1", 8, 8);
    auto* edit2 = Make<TEdit>(form, box, "Edit2", 8, 60);
    Make<TMemo>(form, box, "Memo1", 8, 20)->SetTabOrder(0);
    CountedGroup ports(form, &form, "RadioGroup1", 200, 8);
    ports.group->SetItemIndex(1);
    ports.clicks = 0;
    auto* button1 = Make<TButton>(form, &form, "Button1", 8, 300);
    button1->SetTabOrder(0);
    auto* panel = Make<TPanel>(form, &form, "Panel1", 200, 200);  // not a tab stop itself
    Make<TButton>(form, panel, "Button3", 4, 4);
    auto* button4 = Make<TButton>(form, &form, "Button4", 100, 300);
    button4->SetEnabled(false);
    Make<TListBox>(form, &form, "ListBox1", 300, 300)->Hide();
    auto* scroll = Make<TScrollBox>(form, &form, "ScrollBox1", 8, 330);  // nor this one
    Make<TCheckBox>(form, scroll, "ChBx0", 0, 0);
    Make<TEdit>(form, scroll, "Ed1_0", 20, 0);
    (void)edit2;

    // The first tab stop has the focus when the window is shown.
    ASSERT_TRUE(ShowActive(form));
    EXPECT_EQ(FocusedControl(form), "Button1");

    const std::vector<String> forward = {"Memo1", "Edit2", "RadioGroup1", "Button3", "ChBx0", "Ed1_0", "Button1"};
    EXPECT_EQ(PressTab(form, 7), forward);
    const std::vector<String> backward = {"Ed1_0", "ChBx0", "Button3", "RadioGroup1", "Edit2", "Memo1", "Button1"};
    EXPECT_EQ(PressTab(form, 7, true), backward);

    // A changed tab order and a control enabled later count at once.
    panel->SetTabOrder(1);
    button4->SetEnabled(true);
    EXPECT_EQ(PressTab(form, 3), (std::vector<String>{"Button3", "Memo1", "Edit2"}));
    EXPECT_EQ(PressTab(form, 2), (std::vector<String>{"RadioGroup1", "Button4"}));
    // The radio group's selection was never touched by the walk.
    EXPECT_EQ(ports.group->ItemIndex(), 1);
    EXPECT_EQ(ports.clicks, 0);
    form.Hide();
}

TEST(RadioGroup, OneTabStopWhoseArrowKeysSelectAndRunOnClickOncePerMove) {
    TForm form(Application);
    form.SetClientSize(300, 200);
    Make<TButton>(form, &form, "Before", 8, 8);
    CountedGroup g(form, &form, "Group", 8, 40);
    g.group->SetHeight(105);
    Make<TButton>(form, &form, "After", 8, 160);
    ASSERT_TRUE(ShowActive(form));

    // No item is selected: Tab lands on the first, choosing nothing.
    EXPECT_EQ(PressTab(form, 1), std::vector<String>{"Group"});
    EXPECT_EQ(QApplication::focusWidget(), g.Button(0));
    EXPECT_EQ(g.group->ItemIndex(), -1);

    const struct {
        Qt::Key key;
        int index;
    } moves[] = {{Qt::Key_Down, 1}, {Qt::Key_Right, 2}, {Qt::Key_Down, 0}, {Qt::Key_Up, 2}, {Qt::Key_Left, 1}};
    int expectedClicks = 0;
    for (const auto& m : moves) {
        QTest::keyClick(QApplication::focusWidget(), m.key);
        EXPECT_EQ(g.group->ItemIndex(), m.index);
        EXPECT_EQ(g.clicks, ++expectedClicks);
        EXPECT_EQ(QApplication::focusWidget(), g.Button(m.index));
        for (int i = 0; i < 3; ++i) EXPECT_EQ(g.Button(i)->isChecked(), i == m.index);
    }
    // Space on the chosen item chooses nothing new; the group is one stop
    // both ways, and Shift+Tab comes back to the chosen item.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(g.clicks, expectedClicks);
    EXPECT_EQ(PressTab(form, 1), std::vector<String>{"After"});
    EXPECT_EQ(PressTab(form, 1, true), std::vector<String>{"Group"});
    EXPECT_EQ(QApplication::focusWidget(), g.Button(1));
    // A mouse click chooses like the keys; on the chosen item it does nothing.
    QTest::mouseClick(g.Button(2), Qt::LeftButton, {}, QPoint(6, g.Button(2)->height() / 2));
    EXPECT_EQ(g.group->ItemIndex(), 2);
    QTest::mouseClick(g.Button(2), Qt::LeftButton, {}, QPoint(6, g.Button(2)->height() / 2));
    EXPECT_EQ(g.clicks, expectedClicks + 1);
    form.Hide();
}

// What a screen reader finds in a radio group, and what its action does.
TEST(RadioGroup, ItemsAreExclusiveRadioButtonsWhoseActionChoosesLikeAClick) {
    TForm form(Application);
    CountedGroup g(form, &form, "Group", 8, 8);
    g.group->SetItemIndex(0);
    g.clicks = 0;
    QAccessibleInterface* item = keyboard::AccessibleChild(g.group->Widget(), "B");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->role(), QAccessible::RadioButton);
    EXPECT_TRUE(item->state().checkable);
    EXPECT_FALSE(item->state().checked);
    const QString choose = keyboard::ChoosingAction(item);
    ASSERT_FALSE(choose.isEmpty());
    QAccessibleActionInterface* actions = item->actionInterface();

    actions->doAction(choose);  // a press may come as a short animated click
    EXPECT_TRUE(QTest::qWaitFor([&] { return g.group->ItemIndex() == 1; }, 2000));
    EXPECT_EQ(g.clicks, 1);
    EXPECT_TRUE(item->state().checked);
    EXPECT_FALSE(g.Button(0)->isChecked());
    // The chosen item's action chooses nothing again.
    actions->doAction(choose);
    QTest::qWait(150);
    EXPECT_EQ(g.group->ItemIndex(), 1);
    EXPECT_EQ(g.clicks, 1);
    // Cleared from code: no item is checked, and none is refused.
    g.group->SetItemIndex(-1);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(g.Button(i)->isChecked());
}

TEST(Stacking, LabelsLieBeneathTheWindowedControlsOfTheirParent) {
    TForm form(Application);
    form.SetClientSize(300, 200);
    int buttonClicks = 0, labelClicks = 0;
    auto* button = Make<TButton>(form, &form, "Button1", 10, 10);
    button->OnClick = [&](TObject*) { ++buttonClicks; };
    auto* label = Make<TLabel>(form, &form, "Label1", 20, 15);  // made after the button, over it
    label->SetCaption("A label made after the button");
    label->OnClick = [&](TObject*) { ++labelClicks; };
    auto* later = Make<TLabel>(form, &form, "Label2", 140, 15);
    later->SetCaption("made later");
    // A combo moved over a label made after it, as the tone chooser is.
    auto* combo = Make<TComboBox>(form, &form, "Combo", 10, 100);
    combo->Items().Add("Off");
    auto* tone = Make<TLabel>(form, &form, "ctcss_rx_0", 150, 103);
    tone->SetCaption("Off");
    combo->SetLeft(tone->Left());
    combo->SetTop(tone->Top() - 3);
    ASSERT_TRUE(ShowActive(form));

    QWidget* client = form.ClientWidget();
    const QPoint overlap(30, 20);
    EXPECT_EQ(client->childAt(overlap), button->Widget());
    EXPECT_TRUE(combo->Widget()->isAncestorOf(client->childAt(QPoint(152, 106))) ||
                client->childAt(QPoint(152, 106)) == combo->Widget());
    // Labels among themselves keep the order they were made in.
    EXPECT_EQ(client->childAt(QPoint(145, 20)), later->Widget());
    // A click there is the button's.
    QTest::mouseClick(form.Widget()->windowHandle(), Qt::LeftButton, {}, client->mapTo(form.Widget(), overlap));
    EXPECT_EQ(buttonClicks, 1);
    EXPECT_EQ(labelClicks, 0);
    form.Hide();
}

// Rows of a table as the main window makes them, one while the window is
// already shown; then the lowest windowed control of the table goes.
TEST(Stacking, RowsMadeWhileShownJoinTheTabOrderAndTheirLabelsLieBeneath) {
    TForm form(Application);
    form.SetClientSize(300, 200);
    auto* table = Make<TScrollBox>(form, &form, "ScrollBox1", 0, 0);
    table->SetBounds(0, 0, 300, 200);
    std::vector<TEdit*> edits;
    auto row = [&](int n) {
        const String number = std::to_string(n);
        const int y = 32 * n;
        Make<TLabel>(form, table, "Row" + number, 3, y + 5)->SetCaption("0" + number);
        Make<TCheckBox>(form, table, "ChBx" + number, 25, y + 5)->SetWidth(17);
        edits.push_back(Make<TEdit>(form, table, "Ed1_" + number, 45, y));
        edits.back()->SetWidth(50);
        // Made after the edit, over it and on past its right edge.
        auto* tone = Make<TLabel>(form, table, "Tone" + number, 50, y + 3);
        tone->SetCaption("Off Off Off Off Off");
        return tone;
    };
    QWidget* area = table->ClientWidget();
    auto beneathTheEdits = [&] {
        for (size_t n = 0; n < edits.size(); ++n) {
            const QPoint overLabel(edits[n]->Left() + 8, edits[n]->Top() + 8);
            EXPECT_EQ(area->childAt(overLabel), edits[n]->Widget()) << "row " << n;
        }
    };
    row(0);
    ASSERT_TRUE(ShowActive(form));
    row(1);
    EXPECT_EQ(FocusedControl(form), "ChBx0");
    EXPECT_EQ(PressTab(form, 4), (std::vector<String>{"Ed1_0", "ChBx1", "Ed1_1", "ChBx0"}));
    EXPECT_EQ(PressTab(form, 2, true), (std::vector<String>{"Ed1_1", "ChBx1"}));
    beneathTheEdits();

    // ChBx0 was the first windowed control made there, the lowest of them.
    delete form.FindComponent("ChBx0");
    auto* again = Make<TLabel>(form, table, "Again", edits[0]->Left() + 4, edits[0]->Top() + 3);
    again->SetCaption("Off");
    TLabel* tone = row(2);
    beneathTheEdits();
    // Past the edit, a label made later lies over the one made before.
    auto* late = Make<TLabel>(form, table, "Late", edits[2]->Left() + edits[2]->Width() + 2, tone->Top());
    late->SetCaption("Late");
    const QPoint overBoth(late->Left() + 2, late->Top() + 4);
    ASSERT_GT(tone->Left() + tone->Width(), overBoth.x());
    EXPECT_EQ(area->childAt(overBoth), late->Widget());
    EXPECT_EQ(PressTab(form, 4), (std::vector<String>{"Ed1_1", "ChBx2", "Ed1_2", "Ed1_0"}));
    form.Hide();
}

TEST(Accessibility, FormsAreWindowsWithTheirCaptionsAndASeparatorSaysNothing) {
    TForm main(Application), dialog(Application), tool(Application);
    main.SetBorderStyle(bsSingle);
    main.SetCaption("The main window");
    dialog.SetBorderStyle(bsDialog);
    dialog.SetCaption("About");
    tool.SetBorderStyle(bsToolWindow);
    tool.SetCaption("Input frequency");
    const struct {
        TForm* form;
        QAccessible::Role role;
        const char* name;
    } expected[] = {{&main, QAccessible::Window, "The main window"},
                    {&dialog, QAccessible::Dialog, "About"},
                    {&tool, QAccessible::Dialog, "Input frequency"}};
    for (const auto& e : expected) {
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(e.form->Widget());
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->role(), e.role) << e.name;
        EXPECT_EQ(window->text(QAccessible::Name), e.name);
    }

    auto* menu = new TMainMenu(&main);
    auto* file = new TMenuItem(&main);
    file->SetCaption("File");
    menu->Add(file);
    for (const char* caption : {"Open", "-", "Exit"}) {
        auto* item = new TMenuItem(&main);
        item->SetCaption(caption);
        file->Add(item);
    }
    main.SetMenu(menu);
    auto* qmenu = static_cast<QMenu*>(static_cast<QObject*>(file->Action()));
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(qmenu);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->childCount(), 3);
    EXPECT_EQ(list->child(1)->role(), QAccessible::Separator);
    EXPECT_EQ(list->child(1)->text(QAccessible::Name), "");
    EXPECT_EQ(list->child(2)->text(QAccessible::Name), "Exit");
}

// The menus that drop down and the hints open as windows of their own;
// they are in the font of the forms, as the menu bar is.
TEST(Fonts, DropDownMenusAndHintsAreInTheFontOfTheForms) {
    TForm form(Application);
    auto* menu = new TMainMenu(&form);
    auto* file = new TMenuItem(&form);
    file->SetCaption("File");
    menu->Add(file);
    auto* open = new TMenuItem(&form);
    open->SetCaption("Open");
    file->Add(open);
    form.SetMenu(menu);
    const QFont forms = form.Widget()->font();
    auto* dropDown = static_cast<QMenu*>(static_cast<QObject*>(file->Action()));
    ASSERT_TRUE(dropDown->isWindow());
    for (const QFont& f : {dropDown->font(), QToolTip::font()}) {
        EXPECT_EQ(f.family().toStdString(), forms.family().toStdString());
        EXPECT_EQ(f.pixelSize(), forms.pixelSize());
        EXPECT_EQ(f.bold(), forms.bold());
    }
}

// Through the real modal loop, not the scripted seam.
TEST(ToolWindow, IsAModalUtilityWindowOfFixedSize) {
    TForm form(Application);
    form.SetBorderStyle(bsToolWindow);
    form.SetBorderIcons(biSystemMenu);
    form.SetClientSize(250, 57);
    bool checked = false;
    QTimer::singleShot(0, form.Widget(), [&] {
        QWidget* w = form.Widget();
        EXPECT_EQ(w->windowType(), Qt::Tool);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), w);
        EXPECT_EQ(w->minimumSize(), QSize(250, 57));
        EXPECT_EQ(w->maximumSize(), QSize(250, 57));
        EXPECT_TRUE(w->windowFlags() & Qt::WindowCloseButtonHint);
        checked = true;
        form.Close();
    });
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_TRUE(checked);
    EXPECT_FALSE(form.Showing());
}

}  // namespace
