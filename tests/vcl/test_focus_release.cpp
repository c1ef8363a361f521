// A control hidden or disabled while it has the keyboard focus, as the
// framework has it: no control keeps the focus, the form takes the
// keyboard itself, keys then change nothing, and Tab starts again from
// the first tab stop. Real key presses on the focused widget.
#include <gtest/gtest.h>

#include "vcl/form_helpers.h"
#include "vcl/keyboard_helpers.h"

namespace {

using forms::Make;
using keyboard::FocusedControl;
using keyboard::PressTab;
using keyboard::ShowActive;

// First, a panel with a button, an edit, a radio group of two items, a
// group box with a track bar, and Last, in this tab order; `changes`
// counts the edit's, the group's and the bar's change events.
struct FocusWindow {
    TForm form{Application};
    TEdit* edit;
    TRadioGroup* group;
    TTrackBar* bar;
    int changes = 0;

    FocusWindow() {
        const TNotifyEvent count = [this](TObject*) { ++changes; };
        form.SetClientSize(400, 300);
        Make<TButton>(form, &form, "First", 8, 8);
        Make<TButton>(form, Make<TPanel>(form, &form, "Panel1", 8, 40), "Inner", 4, 4);
        edit = Make<TEdit>(form, &form, "Edit1", 8, 90);
        edit->OnChange = count;
        group = Make<TRadioGroup>(form, &form, "Group", 200, 8);
        group->Items().SetItems({"A", "B"});
        group->SetItemIndex(0);
        group->OnClick = count;
        bar = Make<TTrackBar>(form, Make<TGroupBox>(form, &form, "Box", 200, 130), "Bar", 8, 20);
        bar->SetPosition(5);
        bar->OnChange = count;
        Make<TButton>(form, &form, "Last", 8, 250);
    }
    TControl* Control(const char* name) const { return dynamic_cast<TControl*>(form.FindComponent(name)); }
};

TEST(FocusRelease, AFocusedControlHiddenOrDisabledLeavesTheKeyboardToItsForm) {
    const struct {
        const char* target;   // the control hidden or disabled
        bool hide;            // hidden, else disabled
        const char* focused;  // the control that has the focus before
    } cases[] = {{"Edit1", true, "Edit1"}, {"Edit1", false, "Edit1"}, {"Panel1", true, "Inner"},
                 {"Box", false, "Bar"},    {"Group", false, "Group"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.target) + (c.hide ? " hidden" : " disabled"));
        FocusWindow w;
        TControl* target = w.Control(c.target);
        const auto set = [&](bool on) { c.hide ? target->SetVisible(on) : target->SetEnabled(on); };
        ASSERT_TRUE(ShowActive(w.form));
        for (int i = 0; i < 10 && FocusedControl(w.form) != c.focused; ++i) PressTab(w.form, 1);
        ASSERT_EQ(FocusedControl(w.form), c.focused);

        set(false);
        EXPECT_EQ(QApplication::focusWidget(), w.form.Widget());
        EXPECT_EQ(FocusedControl(w.form), "-");
        set(true);
        // Back, it does not take the focus again; keys go nowhere.
        EXPECT_EQ(FocusedControl(w.form), "-");
        for (Qt::Key key : {Qt::Key_Space, Qt::Key_Down, Qt::Key_Right, Qt::Key_Up, Qt::Key_A})
            QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(w.changes, 0);
        EXPECT_EQ(w.edit->Text(), "");
        EXPECT_EQ(w.bar->Position(), 5);
        EXPECT_EQ(w.group->ItemIndex(), 0);
        // Tab starts from the first stop, Shift+Tab from the last.
        EXPECT_EQ(PressTab(w.form, 1), std::vector<String>{"First"});
        w.edit->SetFocus();
        w.edit->Hide();
        EXPECT_EQ(PressTab(w.form, 1, true), std::vector<String>{"Last"});
        w.form.Hide();
    }
}

// While another window is active: when the form is active again, none of
// its controls has the focus; shown again, its first tab stop has it.
TEST(FocusRelease, AControlDisabledWhileItsFormIsInactiveIsNotReplacedByTheNext) {
    FocusWindow w;
    ASSERT_TRUE(ShowActive(w.form));
    w.edit->SetFocus();
    TForm other(Application);
    Make<TButton>(other, &other, "Other", 8, 8);
    ASSERT_TRUE(ShowActive(other));
    ASSERT_TRUE(w.edit->Focused());

    w.edit->SetEnabled(false);
    EXPECT_FALSE(w.edit->Focused());
    other.Hide();
    w.form.Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.form.Widget()));
    EXPECT_EQ(FocusedControl(w.form), "-");
    EXPECT_EQ(QApplication::focusWidget(), w.form.Widget());

    w.form.Hide();
    w.form.Show();
    EXPECT_EQ(w.form.Widget()->focusWidget(), w.Control("First")->Widget());
    w.form.Hide();
}

}  // namespace
