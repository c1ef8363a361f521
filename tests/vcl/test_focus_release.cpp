// A control hidden or disabled while it has the keyboard focus, as the
// framework has it: no control keeps the focus, the form takes the
// keyboard itself, keys then change nothing, and Tab starts again from
// the first tab stop. Real key presses on the focused widget.
#include <gtest/gtest.h>

#include <QRadioButton>

#include "platform/vcl/vcl.h"
#include "vcl/keyboard_helpers.h"

namespace {

using keyboard::FocusedControl;
using keyboard::PressTab;
using keyboard::ShowActive;

template <class T>
T* Make(TForm& form, TWinControl* parent, const String& name, int left, int top) {
    T* c = new T(&form);
    c->SetName(name);
    c->SetParent(parent);
    c->SetLeft(left);
    c->SetTop(top);
    return c;
}

// First, a panel with a button, an edit, a radio group of two items, a
// group box with a track bar, and Last, in this tab order.
struct FocusWindow {
    TForm form{Application};
    TButton* first;
    TPanel* panel;
    TEdit* edit;
    TRadioGroup* group;
    TGroupBox* box;
    TTrackBar* bar;
    int changes = 0;

    FocusWindow() {
        form.SetClientSize(400, 300);
        first = Make<TButton>(form, &form, "First", 8, 8);
        panel = Make<TPanel>(form, &form, "Panel1", 8, 40);
        Make<TButton>(form, panel, "Inner", 4, 4);
        edit = Make<TEdit>(form, &form, "Edit1", 8, 90);
        edit->OnChange = [this](TObject*) { ++changes; };
        group = Make<TRadioGroup>(form, &form, "Group", 200, 8);
        group->Items().Add("A");
        group->Items().Add("B");
        group->SetItemIndex(0);
        group->OnClick = [this](TObject*) { ++changes; };
        box = Make<TGroupBox>(form, &form, "Box", 200, 130);
        bar = Make<TTrackBar>(form, box, "Bar", 8, 20);
        bar->SetPosition(5);
        bar->OnChange = [this](TObject*) { ++changes; };
        Make<TButton>(form, &form, "Last", 8, 250);
    }
};

TEST(FocusRelease, AFocusedControlHiddenOrDisabledLeavesTheKeyboardToItsForm) {
    const struct {
        const char* what;
        const char* focused;  // the control that has the focus before
        void (*act)(FocusWindow&);
        void (*undo)(FocusWindow&);
    } cases[] = {
        {"edit hidden", "Edit1", [](FocusWindow& w) { w.edit->Hide(); }, [](FocusWindow& w) { w.edit->Show(); }},
        {"edit disabled", "Edit1", [](FocusWindow& w) { w.edit->SetEnabled(false); },
         [](FocusWindow& w) { w.edit->SetEnabled(true); }},
        {"panel hidden", "Inner", [](FocusWindow& w) { w.panel->Hide(); }, [](FocusWindow& w) { w.panel->Show(); }},
        {"box disabled", "Bar", [](FocusWindow& w) { w.box->SetEnabled(false); },
         [](FocusWindow& w) { w.box->SetEnabled(true); }},
        {"radio group disabled", "Group", [](FocusWindow& w) { w.group->SetEnabled(false); },
         [](FocusWindow& w) { w.group->SetEnabled(true); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FocusWindow w;
        ASSERT_TRUE(ShowActive(w.form));
        for (int i = 0; i < 10 && FocusedControl(w.form) != c.focused; ++i) PressTab(w.form, 1);
        ASSERT_EQ(FocusedControl(w.form), c.focused);

        c.act(w);
        EXPECT_EQ(QApplication::focusWidget(), w.form.Widget());
        EXPECT_EQ(FocusedControl(w.form), "-");
        c.undo(w);
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
    EXPECT_EQ(w.form.Widget()->focusWidget(), w.first->Widget());
    w.form.Hide();
}

}  // namespace
