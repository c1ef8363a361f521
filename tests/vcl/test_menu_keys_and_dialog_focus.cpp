// The keys that take the keyboard into the menu bar, and where the
// keyboard focus is after a dialog: real key presses through the window,
// the real Qt dialogs of the modal seam closed by a key press.
#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>

#include "platform/vcl/user_interface.h"
#include "platform/vcl/vcl.h"
#include "vcl/keyboard_helpers.h"

namespace {

using keyboard::AnswerDialog;
using keyboard::FocusedControl;
using keyboard::PressTab;
using keyboard::ShowActive;

// A window with a menu bar (File: Open, Exit; About: About), an edit and
// a track bar whose OnChange runs are counted.
struct MenuWindow {
    TForm form{Application};
    TMenuItem* file = nullptr;
    TMenuItem* open = nullptr;
    TEdit* edit = nullptr;
    TTrackBar* bar = nullptr;
    int changes = 0;
    std::vector<String> clicked;

    MenuWindow() {
        form.SetName("MenuWindow");
        form.SetClientSize(300, 120);
        auto* menu = new TMainMenu(&form);
        file = Item(nullptr, "File");
        menu->Add(file);
        open = Item(file, "Open");
        Item(file, "Exit");
        TMenuItem* about = Item(nullptr, "About");
        menu->Add(about);
        Item(about, "About");
        form.SetMenu(menu);
        edit = new TEdit(&form);
        edit->SetName("Edit1");
        edit->SetParent(&form);
        edit->SetBounds(8, 8, 120, 21);
        bar = new TTrackBar(&form);
        bar->SetName("TrackBar1");
        bar->SetParent(&form);
        bar->SetBounds(8, 40, 150, 30);
        bar->SetPosition(5);
        bar->OnChange = [this](TObject*) { ++changes; };
    }

    TMenuItem* Item(TMenuItem* parent, const String& caption) {
        auto* item = new TMenuItem(&form);
        item->SetCaption(caption);
        item->OnClick = [this, caption](TObject*) { clicked.push_back(caption); };
        if (parent) parent->Add(item);
        return item;
    }

    QMenuBar* Bar() const { return form.Widget()->findChild<QMenuBar*>(); }
    // The pixels of the File title drawn in the highlight colour.
    int FileHighlight() const {
        const QImage shot = Bar()->grab().toImage();
        const QRect title = Bar()->actionGeometry(FileMenu()->menuAction());
        const QRgb highlight = Bar()->palette().color(QPalette::Highlight).rgb();
        const qreal scale = shot.devicePixelRatio();
        int n = 0;
        for (int y = title.top(); y <= title.bottom(); ++y)
            for (int x = title.left(); x <= title.right(); ++x)
                if ((shot.pixel(int(x * scale), int(y * scale)) & 0xFFFFFF) == (highlight & 0xFFFFFF)) ++n;
        return n;
    }
    QMenu* FileMenu() const { return static_cast<QMenu*>(static_cast<QObject*>(file->Action())); }
    QWindow* Window() const { return form.Widget()->windowHandle(); }
    void Press(Qt::Key key) { QTest::keyClick(Window(), key); }
};

TEST(MenuKeys, F10TakesTheKeyboardIntoTheMenuBarAsAltDoesAndTheFocusedControlNeverSeesIt) {
    MenuWindow w;
    ASSERT_TRUE(ShowActive(w.form));
    w.bar->SetFocus();
    ASSERT_EQ(FocusedControl(w.form), "TrackBar1");
    ASSERT_EQ(w.FileHighlight(), 0);

    for (Qt::Key key : {Qt::Key_Alt, Qt::Key_F10}) {
        w.Press(key);
        // The menu bar has the keyboard, "File" highlighted, no menu open.
        EXPECT_TRUE(w.Bar()->hasFocus()) << key;
        EXPECT_EQ(w.Bar()->activeAction(), w.FileMenu()->menuAction()) << key;
        EXPECT_GT(w.FileHighlight(), 0) << key;
        EXPECT_FALSE(w.FileMenu()->isVisible()) << key;
        // Down opens "File"; the track bar does not move.
        w.Press(Qt::Key_Down);
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.FileMenu()->isVisible(); }, 2000)) << key;
        EXPECT_EQ(w.bar->Position(), 5);
        EXPECT_EQ(w.changes, 0);
        // Escape closes the menu, a second Escape gives the keyboard back.
        QTest::keyClick(w.FileMenu(), Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w.FileMenu()->isVisible(); }, 2000));
        w.Press(Qt::Key_Escape);
        EXPECT_EQ(FocusedControl(w.form), "TrackBar1") << key;
        EXPECT_EQ(w.FileHighlight(), 0) << key;
    }

    // F10 again leaves the menu bar, as Alt does.
    w.Press(Qt::Key_F10);
    ASSERT_TRUE(w.Bar()->hasFocus());
    w.Press(Qt::Key_F10);
    EXPECT_EQ(FocusedControl(w.form), "TrackBar1");
    EXPECT_FALSE(w.FileMenu()->isVisible());

    // F10, Down and Return choose "Open"; the track bar stays where it was.
    w.Press(Qt::Key_F10);
    w.Press(Qt::Key_Down);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.FileMenu()->isVisible(); }, 2000));
    QTest::keyClick(w.FileMenu(), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.clicked.empty(); }, 2000));
    EXPECT_EQ(w.clicked, std::vector<String>{"Open"});
    EXPECT_EQ(w.bar->Position(), 5);
    EXPECT_EQ(w.changes, 0);
    w.form.Hide();
}

// After each kind of dialog the keyboard focus is where it was, the window
// active, and Tab goes on from there.
TEST(DialogFocus, EveryDialogOfTheQtHostGivesTheFocusBackToTheControlThatHadIt) {
    ASSERT_EQ(vcl::SetModalHost(nullptr), nullptr);
    MenuWindow w;
    TForm dialog(Application);
    dialog.SetName("Dialog");
    dialog.SetBorderStyle(bsDialog);
    auto* ok = new TButton(&dialog);
    ok->SetName("OKButton");
    ok->SetParent(&dialog);
    ok->ModalResult = mrOk;

    // Each dialog with the key that closes it.
    const struct {
        const char* kind;
        const char* dialogClass;
        Qt::Key key;
        std::function<void()> show;
    } dialogs[] = {
        {"message box", "QMessageBox", Qt::Key_Return,
         [&] { EXPECT_EQ(MessageBoxA(w.form.Handle(), "Error file opening!", "Warning!", MB_ICONWARNING), IDOK); }},
        {"question", "QMessageBox", Qt::Key_Escape,
         [&] { EXPECT_EQ(MessageBoxA(w.form.Handle(), "Rewrite file?", "Warning!", MB_ICONWARNING | MB_YESNO), IDNO); }},
        {"open dialog", "QFileDialog", Qt::Key_Escape, [&] { EXPECT_FALSE(TOpenDialog(&w.form).Execute()); }},
        {"save dialog", "QFileDialog", Qt::Key_Escape, [&] { EXPECT_FALSE(TSaveDialog(&w.form).Execute()); }},
        {"modal form", "QWidget", Qt::Key_Return, [&] { EXPECT_EQ(dialog.ShowModal(), mrOk); }},
        {"exception box", "QMessageBox", Qt::Key_Return,
         [&] { Application->ShowException(Exception("Cannot focus a disabled or invisible window")); }},
    };
    for (const auto& d : dialogs) {
        ASSERT_TRUE(ShowActive(w.form));
        w.bar->SetFocus();
        ASSERT_EQ(FocusedControl(w.form), "TrackBar1");
        int answered = 0;
        AnswerDialog(d.dialogClass, {}, d.key, &answered);
        d.show();
        EXPECT_EQ(answered, 1) << d.kind;
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.form.Widget()->isActiveWindow(); }, 2000)) << d.kind;
        EXPECT_EQ(FocusedControl(w.form), "TrackBar1") << d.kind;
        // Tab goes round to the edit, the first tab stop.
        EXPECT_EQ(PressTab(w.form, 1), std::vector<String>{"Edit1"}) << d.kind;
    }
    w.form.Hide();
}

}  // namespace
