// The windows both editions share as a screen reader finds them: every row
// control named after its row's number and its column's caption, the tone
// chooser after the place it stands in, the frequency dialog's edit after
// its unit, nothing hidden (the message lists, closed lists, other pages,
// hidden windows) on screen, one object focused at a time, the one with the
// keyboard, and the program under its own name.
#include <QAccessible>
#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>

#include "window/main_window_fixture.h"
#include "window/radio_test_helpers.h"
#include "vcl/accessible_helpers.h"
#include "vcl/keyboard_helpers.h"

namespace {

using accessible::Name;

class ScreenReaderTest : public MainWindowTest {
protected:
    // Walks the window: an object whose widget (or the widget it belongs
    // to) is not on screen must say it is invisible.
    static void ExpectNothingHiddenShowing(TForm& form) {
        int objects = 0;
        accessible::Walk(form.Widget(), [&](QAccessibleInterface* a, const QString& path) {
            ++objects;
            QAccessibleInterface* owner = a;
            while (owner && !qobject_cast<QWidget*>(owner->object())) owner = owner->parent();
            ASSERT_NE(owner, nullptr) << path.toStdString();
            const bool onScreen = static_cast<QWidget*>(owner->object())->isVisible();
            EXPECT_TRUE(onScreen || !accessible::ClaimsShowing(a)) << path.toStdString();
        });
        EXPECT_GT(objects, 5) << form.Name();
    }

    // Moves the pointer onto a tone label, as a user does to choose a tone;
    // true when the tone chooser came over it.
    bool Hover(TLabel* label) {
        QWidget* window = Form1->Widget();
        const QPoint on = label->Widget()->mapTo(window, QPoint(10, label->Height() / 2));
        QTest::mouseMove(window->windowHandle(), on - QPoint(0, 40));
        QTest::mouseMove(window->windowHandle(), on);
        return QTest::qWaitFor(
            [&] { return Form1->CurrentCombo->Visible() && Form1->CurrentCombo->Top() == label->Top() - 3; }, 2000);
    }

    // Exactly one object of the window claims the focus: the one the
    // keyboard is on.
    static void ExpectOnlyTheKeyboardFocused(QWidget* window, const std::string& where) {
        const std::vector<QString> focused = accessible::FocusedObjects(window);
        EXPECT_EQ(focused.size(), 1u) << where << ": " << QStringList(focused.begin(), focused.end()).join(", ").toStdString();
        QAccessibleInterface* keyboard = accessible::KeyboardObject();
        ASSERT_NE(keyboard, nullptr) << where;
        EXPECT_TRUE(keyboard->state().focused) << where;
    }

    radio_test::ScopedLocale locale{radio_test::PointLocale()};
};

TEST_F(ScreenReaderTest, EveryRowControlIsNamedAfterItsRowAndColumn) {
    CreateWindows();
    for (int n : {0, 5, 57, 99}) {
        const QString row = QString::asprintf("%02d", n);
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(Form1->FChBx[n]->Widget());
        EXPECT_EQ(box->text(QAccessible::Name), row);
        EXPECT_EQ(box->role(), QAccessible::CheckBox);
        EXPECT_TRUE(box->state().checked);
        for (bool tx : {false, true}) {
            const QString name = row + (tx ? " Tx (MHz)" : " Rx (MHz)");
            QAccessibleInterface* edit = QAccessible::queryAccessibleInterface((tx ? Form1->FEd2 : Form1->FEd1)[n]->Widget());
            EXPECT_EQ(edit->text(QAccessible::Name), name);
            EXPECT_EQ(edit->role(), QAccessible::EditableText);
            EXPECT_TRUE(edit->state().readOnly);
            EXPECT_EQ(edit->text(QAccessible::Value).toStdString(), MHzText(n));
            QAccessibleInterface* bar =
                QAccessible::queryAccessibleInterface((tx ? Form1->FTrackTx : Form1->FTrackRx)[n]->Widget());
            EXPECT_EQ(bar->text(QAccessible::Name), name);
            EXPECT_EQ(bar->role(), QAccessible::Slider);
            EXPECT_EQ(bar->valueInterface()->currentValue().toInt(), n);
            QAccessibleInterface* ud = QAccessible::queryAccessibleInterface((tx ? Form1->FUdTx : Form1->FUdRx)[n]->Widget());
            EXPECT_EQ(ud->text(QAccessible::Name), name);
            EXPECT_EQ(ud->role(), QAccessible::SpinBox);
            EXPECT_EQ(ud->valueInterface()->currentValue().toInt(), n);
        }
    }
    EXPECT_EQ(Name(Form1->ComboBox1->Widget()), "Rate RS232");
    // The names are made when they are asked for: nothing at start-up
    // gave the widgets one.
    EXPECT_TRUE(Form1->FEd1[5]->Widget()->accessibleName().isEmpty());
}

TEST_F(ScreenReaderTest, TheToneChooserIsNamedAfterThePlaceItStandsIn) {
    CreateWindows();
    ASSERT_TRUE(keyboard::ShowActive(*Form1));
    Form1->ScrollBox1->SetVertScrollPosition(0);
    ASSERT_TRUE(Hover(Form1->FCtcssRxLabel[5]));
    ASSERT_EQ(Form1->FCtcssRow, 5);
    QAccessibleInterface* chooser = QAccessible::queryAccessibleInterface(Form1->CurrentCombo->Widget());
    EXPECT_EQ(chooser->text(QAccessible::Name), "05 CTCSS (Rx)");
    EXPECT_EQ(chooser->role(), QAccessible::ComboBox);
    EXPECT_EQ(chooser->text(QAccessible::Value), "Off");
    ASSERT_TRUE(Hover(Form1->FCtcssTxLabel[2]));
    ASSERT_EQ(Form1->FCtcssRow, 2);
    EXPECT_EQ(chooser->text(QAccessible::Name), "02 CTCSS (Tx)");
    // Its list is read only while it is open.
    EXPECT_EQ(chooser->childCount(), 0);
}

TEST_F(ScreenReaderTest, ASpinButtonStepsItsRowAsItsArrowsDo) {
    CreateWindows();
    QAccessibleInterface* ud = QAccessible::queryAccessibleInterface(Form1->FUdTx[7]->Widget());
    ASSERT_NE(ud->actionInterface(), nullptr);
    ud->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(Form1->FTrackTx[7]->Position(), 8);
    EXPECT_EQ(Form1->FEd2[7]->Text(), MHzText(8));
    ud->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    ud->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(Form1->FTrackTx[7]->Position(), 6);
    EXPECT_EQ(ud->valueInterface()->currentValue().toInt(), 6);
    // Clearing the row's check box through its action disables the row.
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(Form1->FChBx[7]->Widget());
    box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(Form1->FChBx[7]->Checked());
    EXPECT_TRUE(ud->state().disabled);
    EXPECT_TRUE(ud->actionInterface()->actionNames().isEmpty());
}

TEST_F(ScreenReaderTest, NothingHiddenIsOnScreenInAnyWindow) {
    CreateWindows();
    ASSERT_TRUE(keyboard::ShowActive(*Form1));
    // The message list is there, hidden, with no items to read.
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(Form1->ListBox1->Widget());
    EXPECT_TRUE(list->state().invisible);
    EXPECT_EQ(list->childCount(), 0);
    EXPECT_GT(Form1->ListBox1->Items().Count(), 40);
    ExpectNothingHiddenShowing(*Form1);
    ExpectNothingHiddenShowing(*FormFreqInput);  // hidden windows
    ExpectNothingHiddenShowing(*AboutBox);

    // The frequency dialog shown: its edit is named after its unit.
    QString name;
    QString typed;
    bool editable = false;
    modal.script.onShowModal = [&](TForm& form) {
        EXPECT_TRUE(keyboard::ShowActive(form));
        ExpectNothingHiddenShowing(form);
        QWidget* edit = FormFreqInput->MaskEdit1->Widget();
        QTest::keyClicks(edit, "33025");
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(edit);
        name = a->text(QAccessible::Name);
        editable = a->state().editable;
        typed = a->textInterface()->text(0, a->textInterface()->characterCount());
        form.Close();
    };
    Form1->FEd1[3]->Click();
    EXPECT_EQ(name, "MHz");
    EXPECT_TRUE(editable);
    EXPECT_EQ(typed, "33,025");
}

TEST_F(ScreenReaderTest, OnlyTheObjectWithTheKeyboardIsFocused) {
    CreateWindows();
    ASSERT_TRUE(keyboard::ShowActive(*Form1));
    // From Exit, the first stop, by Tab to the table's first check box:
    // past the page control's tabs in the full edition.
    ExpectOnlyTheKeyboardFocused(Form1->Widget(), keyboard::FocusedControl(*Form1));
    for (int i = 0; i < 20 && keyboard::FocusedControl(*Form1) != "ChBx0"; ++i) {
        keyboard::PressTab(*Form1, 1);
        ExpectOnlyTheKeyboardFocused(Form1->Widget(), keyboard::FocusedControl(*Form1));
    }
    ASSERT_EQ(keyboard::FocusedControl(*Form1), "ChBx0");

    // A message box, the real one: "Error file opening!" after the open
    // dialog is given a name that is not there.
    vcl::ModalHost* scripted = vcl::SetModalHost(nullptr);
    int answered = 0;
    bool looked = false;
    const std::string missing = test_env::MakeTempDir() + "/missing.tun";
    keyboard::AnswerDialog("QFileDialog", QString::fromStdString(missing), Qt::Key_Return, &answered);
    keyboard::AnswerDialog("QMessageBox", {}, Qt::Key_Return, &answered, [&](QWidget* box) {
        looked = true;
        ExpectOnlyTheKeyboardFocused(box, "message box");
        EXPECT_TRUE(qobject_cast<QPushButton*>(QApplication::focusWidget()));
    });
    Form1->N2->Click();
    vcl::SetModalHost(scripted);
    EXPECT_EQ(answered, 2);
    EXPECT_TRUE(looked);
}

// Every text question on the edits is answered, at every offset (outside
// the text with nothing) for every kind of unit: the unit at an offset
// holds the character there (at the end the last unit, but no character),
// its neighbours touch it, and the units cut the text as a reader expects.
// One run of attributes covers the whole text.
TEST_F(ScreenReaderTest, TheEditsAnswerEveryTextQuestion) {
    CreateWindows();
    Form1->FTrackRx[3]->SetPosition(177);
    TMaskEdit* mask = FormFreqInput->MaskEdit1;
    const struct {
        TEdit* edit;
        const char* typed;  // into the mask first
        QString text, words;
    } cases[] = {{Form1->FEd1[0], nullptr, "33.000", "33.000"},
                 {Form1->FEd1[3], nullptr, "37.425", "37.425"},
                 {mask, "", "__,___", "__|,|___"},
                 {mask, "33,0", "33,0__", "33,0__"}};
    using A = QAccessible;
    for (const auto& c : cases) {
        if (c.typed) mask->SetText(c.typed);
        QAccessibleTextInterface* t = A::queryAccessibleInterface(c.edit->Widget())->textInterface();
        const int n = static_cast<int>(c.text.size());
        ASSERT_EQ(t->text(0, n).toStdString(), c.text.toStdString());
        for (int type = A::CharBoundary; type <= A::NoBoundary; ++type) {
            const auto kind = static_cast<A::TextBoundaryType>(type);
            QStringList units;
            for (int o = -1; o <= n + 1; ++o) {
                const std::string where = c.text.toStdString() + " " + std::to_string(type) + "@" + std::to_string(o);
                int s, e, bs, be, as, ae;
                const QString at = t->textAtOffset(o, kind, &s, &e), before = t->textBeforeOffset(o, kind, &bs, &be),
                              after = t->textAfterOffset(o, kind, &as, &ae);
                if (o < 0 || o > n) {
                    EXPECT_TRUE((at + before + after).isEmpty() && s == -1 && e == -1 && be == -1 && as == -1) << where;
                    continue;
                }
                EXPECT_TRUE(at == c.text.mid(s, e - s) && before == c.text.mid(bs, be - bs) &&
                            after == c.text.mid(as, ae - as)) << where;
                EXPECT_TRUE(o < n ? s <= o && o < e : e == n && (kind == A::CharBoundary) == (s == n)) << where;
                EXPECT_TRUE(be == s && (bs < be || be == 0) && as == e && (as < ae || as == n)) << where;
                if (s == o && o < n) units << at;
            }
            const QString expected = kind == A::CharBoundary   ? c.text.split("", Qt::SkipEmptyParts).join('|')
                                     : kind == A::WordBoundary ? c.words
                                                               : c.text;
            EXPECT_EQ(units.join('|').toStdString(), expected.toStdString()) << "unit kind " << type;
        }
        for (int o = 0, s, e; o <= n; ++o) {
            t->attributes(o, &s, &e);
            EXPECT_TRUE(s == 0 && e == n) << c.text.toStdString() << "@" << o;
        }
    }
}

TEST(ProgramName, TheProgramCallsItselfByItsOwnName) {
    const QString program = QFileInfo("/proc/self/exe").symLinkTarget().section('/', -1);
    ASSERT_FALSE(program.isEmpty());
    QAccessibleInterface* app = QAccessible::queryAccessibleInterface(qApp);
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->text(QAccessible::Name), program);
    EXPECT_EQ(QCoreApplication::applicationName(), program);
    EXPECT_EQ(Application->Title, program.toStdString());
}

}  // namespace
