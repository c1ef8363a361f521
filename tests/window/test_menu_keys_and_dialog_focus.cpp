// The main window's menu bar reached by F10 and by its hot keys, and the
// keyboard focus after each of its dialogs, shown by the real Qt dialogs
// and closed by key presses: the same in both editions.
#include <QAccessible>
#include <QMenu>
#include <QMenuBar>

#include "vcl/keyboard_helpers.h"
#include "window/main_window_fixture.h"

namespace {

using keyboard::AnswerDialog;
using keyboard::FocusedControl;
using keyboard::PressTab;
using keyboard::ShowActive;

// A title's menu, and the action a menu bar or menu shows for an item.
QMenu* Menu(TMenuItem* item) { return static_cast<QMenu*>(static_cast<QObject*>(item->Action())); }
QAction* ActionOf(TMenuItem* item) {
    if (auto* menu = qobject_cast<QMenu*>(static_cast<QObject*>(item->Action()))) return menu->menuAction();
    return static_cast<QAction*>(item->Action());
}

// Presses key in the menu once it shows.
void PressInMenu(QMenu* menu, Qt::Key key) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
    QTest::keyClick(menu, key);
}

class MenuAndDialogFocusTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        scripted = vcl::SetModalHost(nullptr);  // the real Qt dialogs
    }
    void TearDown() override {
        vcl::SetModalHost(scripted);
        for (TForm* f : {static_cast<TForm*>(Form1), static_cast<TForm*>(FormFreqInput), static_cast<TForm*>(AboutBox)})
            if (f) f->Hide();
        MainWindowTest::TearDown();
    }

    QMenuBar* Bar() const { return Form1->Widget()->findChild<QMenuBar*>(); }
    void Press(Qt::Key key) { QTest::keyClick(Form1->Widget()->windowHandle(), key); }
    // The window is active again with the focus on name, and Tab goes on
    // to next.
    void ExpectFocusBack(const String& name, const String& next, const char* after) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return Form1->Widget()->isActiveWindow(); }, 2000)) << after;
        EXPECT_EQ(FocusedControl(*Form1), name) << after;
        EXPECT_EQ(PressTab(*Form1, 1), std::vector<String>{next}) << after;
    }

    vcl::ModalHost* scripted = nullptr;
};

TEST_F(MenuAndDialogFocusTest, F10ThenDownOpensTheFileMenuAndTheFocusedTrackBarStays) {
    CreateWindows();
    ASSERT_TRUE(ShowActive(*Form1));
    TTrackBar* bar = Form1->FTrackRx[0];
    bar->SetPosition(bar->Min() + 10);  // a step either way is a change
    bar->SetFocus();
    ASSERT_EQ(FocusedControl(*Form1), "Track_rx_0");
    const int position = bar->Position();
    const String mhz = Form1->FEd1[0]->Text();

    Press(Qt::Key_F10);
    EXPECT_TRUE(Bar()->hasFocus());
    EXPECT_EQ(Bar()->activeAction(), Menu(Form1->N1)->menuAction());
    EXPECT_FALSE(Menu(Form1->N1)->isVisible());
    Press(Qt::Key_Down);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Menu(Form1->N1)->isVisible(); }, 2000));
    EXPECT_EQ(bar->Position(), position);
    EXPECT_EQ(Form1->FEd1[0]->Text(), mhz);

    // Escape twice: the menu closes, then the bar gives the keyboard back.
    PressInMenu(Menu(Form1->N1), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Menu(Form1->N1)->isVisible(); }, 2000));
    Press(Qt::Key_Escape);
    EXPECT_EQ(FocusedControl(*Form1), "Track_rx_0");
    Press(Qt::Key_Down);  // the track bar has the keys again
    EXPECT_NE(bar->Position(), position);
    EXPECT_TRUE(LogLines().empty());
}

TEST_F(MenuAndDialogFocusTest, AfterEachDialogTheFocusIsBackOnTheControlThatHadIt) {
    CreateWindows();
    ASSERT_TRUE(ShowActive(*Form1));
    int answered = 0;

    // File, Open by the keyboard; the open dialog cancelled with Escape.
    Form1->FTrackRx[0]->SetFocus();
    AnswerDialog("QFileDialog", {}, Qt::Key_Escape, &answered);
    Press(Qt::Key_F10);
    Press(Qt::Key_Down);
    PressInMenu(Menu(Form1->N1), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered == 1; }, 5000));
    ExpectFocusBack("Track_rx_0", "Ed2_0", "open dialog");

    // A name that is not there: the open dialog, then the box "Error file
    // opening!" answered with Return.
    const std::string missing = test_env::MakeTempDir() + "/missing.tun";
    AnswerDialog("QFileDialog", QString::fromStdString(missing), Qt::Key_Return, &answered);
    AnswerDialog("QMessageBox", {}, Qt::Key_Return, &answered);
    Form1->N2->Click();
    EXPECT_EQ(answered, 3);
    ExpectFocusBack("Ed2_0", "Track_tx_0", "message box");

    // The frequency dialog, from a click on the row's receive edit; a
    // frequency typed and confirmed with Return.
    AnswerDialog("QWidget", "33100", Qt::Key_Return, &answered);
    QTest::mouseClick(Form1->FEd1[1]->Widget(), Qt::LeftButton);
    EXPECT_EQ(answered, 4);
    EXPECT_EQ(Form1->FTrackRx[1]->Position(), 4);
    ExpectFocusBack("Ed1_1", "Track_rx_1", "frequency dialog");

    // About, About by the keyboard; the About box closed with Return.
    AnswerDialog("QWidget", {}, Qt::Key_Return, &answered);
    Press(Qt::Key_F10);
    Press(Qt::Key_Right);
    Press(Qt::Key_Down);
    PressInMenu(Menu(Form1->N7), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered == 5; }, 5000));
    EXPECT_FALSE(AboutBox->Showing());
    ExpectFocusBack("Track_rx_1", "Ed2_1", "About box");
}

// The titles and items get hot keys of their own from their captions, the
// first letter no earlier sibling has; Alt and a title's letter open it,
// an item's letter in the open menu chooses it. The captions and what a
// screen reader hears stay as they are.
class MenuHotkeyTest : public MainWindowTest {};

TEST_F(MenuHotkeyTest, AltAndALetterOpenATitleAndALetterInTheMenuChoosesAnItem) {
    CreateWindows();
    ASSERT_TRUE(ShowActive(*Form1));
    const struct {
        TMenuItem* item;
        const char* caption;
        char letter;  // Alt and it; none for the line
    } items[] = {{Form1->N1, "File", 'F'},       {Form1->N2, "Open", 'O'}, {Form1->N3, "Save", 'S'},
                 {Form1->N4, "Save As...", 'A'}, {Form1->N5, "-", 0},      {Form1->N6, "Exit", 'E'},
                 {Form1->N7, "About", 'A'},      {Form1->N8, "About", 'A'}};
    for (const auto& i : items) {
        EXPECT_EQ(QKeySequence::mnemonic(ActionOf(i.item)->text()).toString(),
                  i.letter ? QKeySequence(Qt::ALT | Qt::Key(i.letter)).toString() : QString()) << i.caption;
        EXPECT_EQ(i.item->Caption(), i.caption);
    }
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(Form1->Widget()->findChild<QMenuBar*>());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->childCount(), 2);
    EXPECT_EQ(bar->child(0)->text(QAccessible::Name), "File");
    EXPECT_EQ(bar->child(1)->text(QAccessible::Name), "About");
    QAccessibleInterface* file = QAccessible::queryAccessibleInterface(Menu(Form1->N1));
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->childCount(), 5);
    EXPECT_EQ(file->child(2)->text(QAccessible::Name), "Save As...");

    // Each title by Alt and its letter, then an item by its letter.
    const struct {
        TMenuItem* title;
        Qt::Key titleKey, itemKey;
        const char* shown;  // what the item brought up
        const char* text;
    } chosen[] = {{Form1->N1, Qt::Key_F, Qt::Key_O, "open", "Open settings file"},
                  {Form1->N1, Qt::Key_F, Qt::Key_A, "save", "Save settings file"},
                  {Form1->N7, Qt::Key_A, Qt::Key_A, "form", "AboutBox"}};
    for (const auto& c : chosen) {
        SCOPED_TRACE(c.text);
        const size_t before = modal.script.shown.size();
        QTest::keyClick(Form1->Widget()->windowHandle(), c.titleKey, Qt::AltModifier);
        PressInMenu(Menu(c.title), c.itemKey);
        ASSERT_TRUE(QTest::qWaitFor([&] { return modal.script.shown.size() > before; }, 2000));
        EXPECT_EQ(modal.script.shown.back().kind, c.shown);
        EXPECT_EQ(modal.script.shown.back().text, c.text);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !Menu(c.title)->isVisible(); }, 2000));
    }
    EXPECT_EQ(modal.script.shown.size(), 3u);
}

}  // namespace
