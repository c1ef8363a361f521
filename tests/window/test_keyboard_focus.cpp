// The main window and its dialogs as a user meets them through the
// keyboard, the mouse and a screen reader, with the components both
// editions have: the tab order walked with real Tab and Shift+Tab presses,
// the ports group's arrow keys and accessible items, the tone chooser over
// its label, the windows' roles, and the end of the program.
#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

#include "window/main_window_fixture.h"
#include "vcl/keyboard_helpers.h"

namespace {

using keyboard::FocusedControl;
using keyboard::PressTab;
using keyboard::ShowActive;
using keyboard::TabRound;

class KeyboardTest : public MainWindowTest {
protected:
    void TearDown() override {
        for (TForm* f : {static_cast<TForm*>(Form1), static_cast<TForm*>(FormFreqInput), static_cast<TForm*>(AboutBox)})
            if (f) f->Hide();
        MainWindowTest::TearDown();
    }

    // The tab stops both editions share, with the row controls, in the
    // order a walk visits them; what the edition adds is left out.
    static std::vector<String> Shared(const std::vector<String>& walk) {
        static const std::vector<String> names = {"Button1", "RadioGroup1", "Button2", "Memo1", "ComboBox1",
                                                  "Button3", "Button6",     "ListBox1", "Button8"};
        std::vector<String> kept;
        for (const String& n : walk) {
            bool row = n.rfind("ChBx", 0) == 0 || n.rfind("Ed1_", 0) == 0 || n.rfind("Ed2_", 0) == 0 ||
                       n.rfind("Track_", 0) == 0 || n.rfind("Ud_", 0) == 0;
            if (row || std::find(names.begin(), names.end(), n) != names.end()) kept.push_back(n);
        }
        return kept;
    }

    // The rows' stops: a row not in use has only its check box enabled.
    static std::vector<String> RowStops() {
        std::vector<String> stops;
        for (int i = 0; i < RowCount; ++i) {
            stops.push_back("ChBx" + std::to_string(i));
            if (!Form1->FChBx[i]->Checked()) continue;
            for (const char* prefix : {"Ed1_", "Track_rx_", "Ed2_", "Track_tx_"})
                stops.push_back(prefix + std::to_string(i));
        }
        return stops;
    }

    static std::vector<String> Join(std::initializer_list<std::vector<String>> parts) {
        std::vector<String> all;
        for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
        return all;
    }

    static std::vector<String> Reversed(std::vector<String> v) {
        std::reverse(v.begin(), v.end());
        return v;
    }

    QRadioButton* PortItem(int i) const {
        return Form1->RadioGroup1->Widget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly).at(i);
    }

    // Counts the runs of the ports group's OnClick, which still does its work.
    int* CountPortClicks() {
        auto* count = new int(0);
        counters.emplace_back(count);
        TNotifyEvent original = Form1->RadioGroup1->OnClick;
        Form1->RadioGroup1->OnClick = [count, original](TObject* s) {
            ++*count;
            if (original) original(s);
        };
        return count;
    }

    std::vector<std::unique_ptr<int>> counters;
};

TEST_F(KeyboardTest, TabAndShiftTabWalkTheWindowsTabOrder) {
    AddRadio(2);
    CreateWindows();
    ASSERT_TRUE(ShowActive(*Form1));
    // "Exit" is first in the tab order and has the focus at the start.
    EXPECT_EQ(FocusedControl(*Form1), "Button1");

    // Not connected: Read, Info and Write are disabled, the message list
    // is hidden: they are passed by.
    std::vector<String> walk = TabRound(*Form1);
    const std::vector<String> forward =
        Join({{"RadioGroup1", "Button2", "Memo1"}, RowStops(), {"ComboBox1", "Button1"}});
    EXPECT_EQ(Shared(walk), forward);
    EXPECT_EQ(walk.back(), "Button1");

    // Tab went into the ports group at its chosen item.
    PressTab(*Form1, 1);
    EXPECT_EQ(QApplication::focusWidget(), PortItem(Form1->RadioGroup1->ItemIndex()));
    PressTab(*Form1, 1, true);

    // Shift+Tab walks the same stops the other way.
    std::vector<String> back = TabRound(*Form1, true);
    std::vector<String> expectedBack = Reversed(Join({{"RadioGroup1", "Button2", "Memo1"}, RowStops(), {"ComboBox1"}}));
    expectedBack.push_back("Button1");
    EXPECT_EQ(Shared(back), expectedBack);

    // Connected: the port and rate choices are disabled, Read, Info and
    // Write take their places.
    Form1->Button2->Click();
    ASSERT_TRUE(Connected);
    walk = TabRound(*Form1);
    EXPECT_EQ(Shared(walk), Join({{"Button2", "Memo1"}, RowStops(), {"Button8", "Button3", "Button6", "Button1"}}));
}

TEST_F(KeyboardTest, ArrowKeysInThePortsGroupChooseAPortAndRunOnClickOncePerMove) {
    AddRadio(2);
    AddRadio(5);
    CreateWindows();
    ASSERT_EQ(Form1->RadioGroup1->Items().Count(), 2);
    ASSERT_EQ(Form1->RadioGroup1->ItemIndex(), 1);  // the last answering port
    int* clicks = CountPortClicks();
    ASSERT_TRUE(ShowActive(*Form1));
    EXPECT_EQ(PressTab(*Form1, 1), std::vector<String>{"RadioGroup1"});

    const struct {
        Qt::Key key;
        int index;
    } moves[] = {{Qt::Key_Up, 0}, {Qt::Key_Up, 1}, {Qt::Key_Down, 0}, {Qt::Key_Right, 1}};
    int expected = 0;
    for (const auto& m : moves) {
        QTest::keyClick(QApplication::focusWidget(), m.key);
        EXPECT_EQ(Form1->RadioGroup1->ItemIndex(), m.index);
        EXPECT_EQ(*clicks, ++expected);
        EXPECT_EQ(QApplication::focusWidget(), PortItem(m.index));
        EXPECT_TRUE(PortItem(m.index)->isChecked());
        EXPECT_FALSE(PortItem(1 - m.index)->isChecked());
    }
    // One tab stop: the next Tab leaves the group for "Connection".
    EXPECT_EQ(PressTab(*Form1, 1), std::vector<String>{"Button2"});
}

TEST_F(KeyboardTest, AScreenReaderChoosesAPortThroughItsRadioItem) {
    AddRadio(2);
    AddRadio(5);
    CreateWindows();
    int* clicks = CountPortClicks();
    QAccessibleInterface* group = QAccessible::queryAccessibleInterface(Form1->RadioGroup1->Widget());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->text(QAccessible::Name).trimmed(), "Ports");
    QAccessibleInterface* com2 = keyboard::AccessibleChild(Form1->RadioGroup1->Widget(), "COM2 (device)");
    ASSERT_NE(com2, nullptr);
    EXPECT_EQ(com2->role(), QAccessible::RadioButton);
    EXPECT_FALSE(com2->state().checked);
    const QString choose = keyboard::ChoosingAction(com2);
    ASSERT_FALSE(choose.isEmpty());

    com2->actionInterface()->doAction(choose);  // a press may come as a short animated click
    EXPECT_TRUE(QTest::qWaitFor([&] { return Form1->RadioGroup1->ItemIndex() == 0; }, 2000));
    EXPECT_EQ(*clicks, 1);
    EXPECT_TRUE(com2->state().checked);
    // "Connection" now opens COM2.
    const int pings = radios[0]->CountFrames(&sim::Frame::IsPing);
    Form1->Button2->Click();
    EXPECT_TRUE(Connected);
    EXPECT_EQ(radios[0]->CountFrames(&sim::Frame::IsPing), pings + 1);
}

TEST_F(KeyboardTest, TheToneChooserOverALabelTakesTheClicks) {
    CreateWindows();
    ASSERT_TRUE(ShowActive(*Form1));
    QWidget* window = Form1->Widget();
    TLabel* label = Form1->FCtcssRxLabel[1];
    auto* combo = static_cast<QComboBox*>(Form1->CurrentCombo->Widget());
    // The pointer comes onto the tone label: the chooser stands over it.
    const QPoint onLabel = label->Widget()->mapTo(window, QPoint(10, label->Height() / 2));
    QTest::mouseMove(window->windowHandle(), onLabel - QPoint(0, 40));  // into the window first
    QTest::mouseMove(window->windowHandle(), onLabel);
    ASSERT_TRUE(QTest::qWaitFor([&] { return combo->isVisible(); }, 2000));
    ASSERT_EQ(Form1->FCtcssRow, 1);
    ASSERT_EQ(Form1->FCtcssIsTx, 0);

    // Its centre, and its left edge where the label's text lies beneath.
    const QPoint points[] = {combo->rect().center(), QPoint(3, combo->height() / 2)};
    for (const QPoint& p : points) {
        EXPECT_EQ(window->childAt(combo->mapTo(window, p)), combo);
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, combo->mapTo(window, p));
        EXPECT_TRUE(QTest::qWaitFor([&] { return combo->view()->isVisible(); }, 2000)) << p.x();
        combo->hidePopup();
        QApplication::processEvents();
        EXPECT_TRUE(combo->isVisible());
        EXPECT_EQ(Form1->FCtcssRow, 1);
    }
    // Its text is the only one there: the label's is beneath it.
    EXPECT_EQ(window->childAt(label->Widget()->mapTo(window, QPoint(2, 2))), combo);
}

TEST_F(KeyboardTest, TheDialogsWalkTheirOwnTabOrder) {
    CreateWindows();
    std::vector<String> incomplete, complete;
    modal.script.onShowModal = [&](TForm& form) {
        EXPECT_TRUE(ShowActive(form));
        EXPECT_EQ(FocusedControl(form), "MaskEdit1");
        // OK is disabled until all five digits are there: Tab stays.
        QTest::keyClicks(QApplication::focusWidget(), "330");
        incomplete = PressTab(form, 2);
        QTest::keyClicks(QApplication::focusWidget(), "25");
        // Complete: the dialog gives OK the focus itself.
        complete.push_back(FocusedControl(form));
        for (const String& s : PressTab(form, 3)) complete.push_back(s);
        for (const String& s : PressTab(form, 1, true)) complete.push_back(s);
        form.Close();
        form.Hide();
    };
    Form1->FEd1[0]->Click();
    EXPECT_EQ(incomplete, (std::vector<String>{"MaskEdit1", "MaskEdit1"}));
    EXPECT_EQ(complete, (std::vector<String>{"Button1", "MaskEdit1", "Button1", "MaskEdit1", "Button1"}));

    // The About box: OK is its one tab stop.
    ASSERT_TRUE(ShowActive(*AboutBox));
    EXPECT_EQ(FocusedControl(*AboutBox), "OKButton");
    EXPECT_EQ(PressTab(*AboutBox, 2), (std::vector<String>{"OKButton", "OKButton"}));
}

TEST_F(KeyboardTest, AScreenReaderSeesTheWindowsWithTheirCaptions) {
    CreateWindows();
    const struct {
        TForm* form;
        QAccessible::Role role;
    } windows[] = {{Form1, QAccessible::Window}, {FormFreqInput, QAccessible::Dialog}, {AboutBox, QAccessible::Dialog}};
    for (const auto& w : windows) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w.form->Widget());
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->role(), w.role) << w.form->Name();
        EXPECT_EQ(a->text(QAccessible::Name).toStdString(), w.form->Caption());
    }
    EXPECT_EQ(FormFreqInput->Widget()->windowType(), Qt::Tool);
}

TEST_F(KeyboardTest, TheProductNameFitsItsPlaceInTheAboutBox) {
    CreateWindows();
    TLabel* name = AboutBox->ProductName;
    EXPECT_EQ(name->Width(), 134);
    EXPECT_EQ(name->Height(), 80);
    auto* label = static_cast<QLabel*>(name->Widget());
    EXPECT_EQ(label->font().pixelSize(), 16);
    EXPECT_TRUE(label->font().bold());
    EXPECT_LE(label->heightForWidth(134), 80);
}

// The end of the program: when the message loop ends, the forms are
// destroyed, the last created first, before the units shut down.
TEST_F(KeyboardTest, ExitDestroysTheFormsLastCreatedFirst) {
    CreateMainForm();
    Application->CreateForm(FormFreqInput);
    Application->CreateForm(AboutBox);
    std::vector<String> destroyed;
    for (TForm* f : {static_cast<TForm*>(Form1), static_cast<TForm*>(FormFreqInput), static_cast<TForm*>(AboutBox)})
        QObject::connect(f->Widget(), &QObject::destroyed, [&destroyed, name = f->Name()] { destroyed.push_back(name); });
    QWidget* exitButton = Form1->Button1->Widget();
    QTimer::singleShot(0, exitButton, [exitButton] { QTest::mouseClick(exitButton, Qt::LeftButton); });
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(destroyed, (std::vector<String>{"AboutBox", "FormFreqInput", "Form1"}));
    EXPECT_EQ(Application->MainForm(), nullptr);
    // Gone: nothing for the fixture to free.
    Form1 = nullptr;
    FormFreqInput = nullptr;
    AboutBox = nullptr;
}

}  // namespace
