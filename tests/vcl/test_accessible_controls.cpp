// What a screen reader is told of controls without a caption of their
// own: the label above them or after them names them, never one across
// another control; hidden lists expose no items; a page control's tabs
// take the focus only with the keyboard. (The channel table's row and
// column names are tested on the main window.)
#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QListWidget>
#include <QLineEdit>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

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

// A page control's tab list: its tabs by their captions, the current one
// selected, and focused only while the list has the keyboard, the one
// object focused then, and named to a screen reader as the list takes the
// keyboard; pressing a tab shows its page.
TEST(AccessibleControls, PageTabsAreFocusedOnlyWhileTheirListHasTheKeyboard) {
    TForm form(Application);
    form.SetClientSize(360, 300);
    Make<TEdit>(form, &form, 8, 8);
    auto* pages = Make<TPageControl>(form, &form, 8, 40);
    for (const char* caption : {"Channels", "Options"}) {
        auto* page = new TTabSheet(&form);
        page->SetParent(pages);
        page->SetCaption(caption);
    }
    ASSERT_TRUE(keyboard::ShowActive(form));
    ASSERT_TRUE(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
    QAccessibleInterface* list = nullptr;
    accessible::Walk(form.Widget(), [&](QAccessibleInterface* a, const QString&) {
        if (a->role() == QAccessible::PageTabList) list = a;
    });
    ASSERT_NE(list, nullptr);
    ASSERT_GE(list->childCount(), 2);
    QAccessibleInterface* first = list->child(0);
    QAccessibleInterface* second = list->child(1);
    EXPECT_EQ(first->text(QAccessible::Name), "Channels");
    EXPECT_EQ(second->text(QAccessible::Name), "Options");
    EXPECT_EQ(second->role(), QAccessible::PageTab);
    EXPECT_EQ(list->indexOfChild(second), 1);
    const int last = list->childCount() - 1;  // the arrows for tabs that do not fit, if any
    EXPECT_EQ(list->indexOfChild(list->child(last)), last);
    EXPECT_EQ(list->childAt(second->rect().center().x(), second->rect().center().y()), second);
    EXPECT_TRUE(first->state().selected);
    EXPECT_FALSE(first->state().focused);
    EXPECT_EQ(accessible::FocusedObjects(form.Widget()).size(), 1u);

    // Arriving, the list tells a listening screen reader which page shows:
    // the current tab is the last object focused.
    static std::vector<QAccessibleInterface*> focused;
    QPlatformAccessibility* bridge = QGuiApplicationPrivate::platformIntegration()->accessibility();
    bridge->setActive(true);
    QAccessible::installUpdateHandler([](QAccessibleEvent* e) {
        if (e->type() == QAccessible::Focus) focused.push_back(e->accessibleInterface());
    });
    keyboard::PressTab(form, 1);  // to the tab list
    QCoreApplication::processEvents();
    QAccessible::installUpdateHandler(nullptr);
    bridge->setActive(false);
    EXPECT_TRUE(!focused.empty() && focused.back() == first);
    EXPECT_EQ(list->focusChild(), first);
    EXPECT_TRUE(first->state().focused);
    EXPECT_EQ(accessible::FocusedObjects(form.Widget()).size(), 1u);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_TRUE(second->state().selected && second->state().focused);
    EXPECT_FALSE(first->state().focused);
    EXPECT_EQ(pages->ActivePage()->Caption(), "Options");

    first->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(pages->ActivePage()->Caption(), "Channels");
    keyboard::PressTab(form, 1);  // away from the list
    EXPECT_FALSE(first->state().focused);
}

}  // namespace
