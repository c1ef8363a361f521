// Forms, the application object, the exception box and the modal seam
// with the Win32 user-interface calls over it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <chrono>

#include "platform/vcl/user_interface.h"
#include "platform/vcl/vcl.h"
#include "support/scripted_modal.h"

namespace {

TEST(Dispatch, ExceptionsFromQtEndAtTheExceptionBox) {
    vcl::ScopedModalScript modal;
    TForm form(Application);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    auto* qt = static_cast<QPushButton*>(button->Widget());

    button->OnClick = [](TObject*) { throw Exception("Cannot focus a disabled or invisible window"); };
    qt->click();  // the exception does not unwind through Qt
    button->OnClick = [](TObject*) { throw std::runtime_error("not the framework's"); };
    qt->click();
    button->OnClick = [](TObject*) { throw 42; };
    qt->click();
    ASSERT_EQ(modal.script.Count("exception"), 3);
    EXPECT_EQ(modal.script.shown[0].text, "Cannot focus a disabled or invisible window");
    EXPECT_EQ(modal.script.shown[0].caption, Application->Title);
    EXPECT_EQ(modal.script.shown[1].text, "");
    EXPECT_EQ(modal.script.shown[2].text, "");

    // From code the handler's exception reaches the caller.
    EXPECT_THROW(button->Click(), int);
    try {
        throw EResourceError("x.dfm:3: bad");
    } catch (...) {
        Application->HandleException();
    }
    EXPECT_EQ(modal.script.Last("exception")->text, "x.dfm:3: bad");
}

TEST(Dispatch, DecimalSeparatorFollowsTheLocale) {
    QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(DecimalSeparator(), ',');
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(DecimalSeparator(), '.');
    QLocale::setDefault(before);
}

TEST(ModalSeam, MessageBoxesFileDialogsAndTheShellAreScripted) {
    vcl::ScopedModalScript modal;
    TForm form(Application);
    modal.script.messageAnswers = {IDYES};
    EXPECT_EQ(MessageBoxA(form.Handle(), "File already exists. Rewrite?", "Warning!", MB_ICONWARNING | MB_YESNO),
              IDYES);
    EXPECT_EQ(MessageBoxA(form.Handle(), "Rewrite file?", "Warning!", MB_ICONWARNING | MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "Error file opening!", "Warning!", MB_ICONWARNING), IDOK);
    ASSERT_EQ(modal.script.Count("message"), 3);
    const auto& first = modal.script.shown[0];
    EXPECT_EQ(first.text, "File already exists. Rewrite?");
    EXPECT_EQ(first.caption, "Warning!");
    EXPECT_EQ(first.flags, unsigned(MB_ICONWARNING | MB_YESNO));
    EXPECT_EQ(first.owner, &form);
    EXPECT_EQ(modal.script.shown[2].owner, nullptr);

    auto* open = new TOpenDialog(&form);
    open->Title = "Open settings file";
    open->Filter = "Tunes files (*.tun)|*.tun|All files (*.*)|*.*";
    open->InitialDir = ".";
    modal.script.fileAnswers = {String("/tmp/a.tun"), std::nullopt};
    EXPECT_TRUE(open->Execute());
    EXPECT_EQ(open->FileName, "/tmp/a.tun");
    EXPECT_FALSE(open->Execute());
    auto* save = new TSaveDialog(&form);
    EXPECT_FALSE(save->Execute());  // no answer left: Cancel
    ASSERT_EQ(modal.script.Count("open"), 2);
    EXPECT_EQ(modal.script.Last("open")->text, "Open settings file");
    EXPECT_EQ(modal.script.Last("open")->caption, open->Filter);
    EXPECT_EQ(modal.script.Last("open")->initialDir, ".");
    EXPECT_EQ(modal.script.Last("open")->fileName, "/tmp/a.tun");
    EXPECT_EQ(modal.script.Count("save"), 1);

    HINSTANCE r = ShellExecuteA(form.Handle(), "open", "mailto:sokolov@example.org", nullptr, nullptr, SW_SHOWDEFAULT);
    EXPECT_GT(reinterpret_cast<intptr_t>(r), 32);
    ASSERT_NE(modal.script.Last("shell"), nullptr);
    EXPECT_EQ(modal.script.Last("shell")->text, "mailto:sokolov@example.org");
    EXPECT_EQ(modal.script.Last("shell")->caption, "open");
    EXPECT_EQ(modal.script.Last("shell")->owner, &form);
}

TEST(ModalSeam, ShowModalRunsTheScriptUntilTheFormIsDone) {
    vcl::ScopedModalScript modal;
    TForm dialog(Application);
    dialog.SetName("FormFreqInput");
    dialog.SetCaption("Input frequency of transmit (channel # 12)");
    auto* ok = new TButton(&dialog);
    ok->SetParent(&dialog);
    ok->ModalResult = mrOk;
    ok->OnClick = [&](TObject*) { dialog.Close(); };

    modal.script.onShowModal = [&](TForm& f) {
        EXPECT_TRUE(f.Modal());
        ok->Click();
        EXPECT_TRUE(f.ModalDone());
    };
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_FALSE(dialog.Modal());

    modal.script.onShowModal = [&](TForm& f) { f.Close(); };
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    modal.script.onShowModal = nullptr;  // the script does nothing: closed with Cancel
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    modal.script.onShowModal = [&](TForm& f) { f.SetModalResult(mrYes); };
    EXPECT_EQ(dialog.ShowModal(), mrYes);

    ASSERT_EQ(modal.script.Count("form"), 4);
    EXPECT_EQ(modal.script.Last("form")->text, "FormFreqInput");
    EXPECT_EQ(modal.script.Last("form")->caption, "Input frequency of transmit (channel # 12)");
}

TEST(ModalSeam, TheQtHostRunsANestedLoopUntilTheFormIsDone) {
    ASSERT_EQ(vcl::SetModalHost(nullptr), nullptr);
    TForm dialog(Application);
    auto* ok = new TButton(&dialog);
    ok->SetParent(&dialog);
    ok->ModalResult = mrOk;
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        wasModal = dialog.Showing() && dialog.Widget()->windowModality() == Qt::ApplicationModal;
        static_cast<QPushButton*>(ok->Widget())->click();
    });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(dialog.Showing());
    EXPECT_FALSE(dialog.Modal());

    QTimer::singleShot(0, [&] { dialog.Widget()->close(); });  // the close box
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    QTimer::singleShot(0, [&] { dialog.Close(); });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
}

TEST(Forms, FixedBorderAndIcons) {
    TForm form(Application);
    form.SetBorderIcons(biSystemMenu | biMinimize);
    form.SetBorderStyle(bsSingle);
    form.SetClientSize(671, 511);
    QWidget* w = form.Widget();
    EXPECT_EQ(w->minimumSize(), w->maximumSize());
    EXPECT_EQ(form.ClientWidget()->size(), QSize(671, 511));
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowCloseButtonHint);
    form.SetPosition(poDesktopCenter);
    form.Show();
    QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((w->frameGeometry().center() - centre).manhattanLength(), 10);
    form.Hide();

    TForm sizeable(Application);
    EXPECT_NE(sizeable.Widget()->minimumSize(), sizeable.Widget()->maximumSize());
    EXPECT_TRUE(sizeable.Widget()->windowFlags() & Qt::WindowMaximizeButtonHint);

    // A tool window with only the close box.
    TForm tool(Application);
    tool.SetBorderStyle(bsToolWindow);
    tool.SetBorderIcons(biSystemMenu);
    EXPECT_EQ(tool.Widget()->minimumSize(), tool.Widget()->maximumSize());
    EXPECT_FALSE(tool.Widget()->windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST(Forms, ScrollBoxRangeFollowsItsRows) {
    TForm form(Application);
    form.SetClientSize(500, 300);
    auto* box = new TScrollBox(&form);
    box->SetParent(&form);
    box->SetBounds(8, 24, 481, 209);
    auto start = std::chrono::steady_clock::now();
    for (int n = 0; n < 100; ++n) {
        int y = 32 * n;
        for (int i = 0; i < 10; ++i) {
            auto* label = new TLabel(&form);
            label->SetParent(box);
            label->SetBounds(3 + 45 * i, y + 5, 40, 13);
        }
        auto* line = new TBevel(&form);
        line->SetParent(box);
        line->SetShape(bsBottomLine);
        line->SetBounds(3, y + 25, 451, 2);
    }
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(ms, 5000.0) << "1100 children";  // generous: a loaded machine takes 0.5 s
    EXPECT_EQ(box->ClientWidget()->size(), QSize(454, 32 * 99 + 27));

    form.Show();
    QApplication::processEvents();
    auto* area = static_cast<QScrollArea*>(box->Widget());
    EXPECT_TRUE(area->verticalScrollBar()->isVisible());
    EXPECT_EQ(area->verticalScrollBar()->maximum(), 32 * 99 + 27 - area->viewport()->height());
    box->SetVertScrollPosition(320);
    EXPECT_EQ(box->VertScrollPosition(), 320);

    // A hidden child leaves the range once control is back in the loop.
    box->Controls(box->ControlCount() - 1)->Hide();
    QApplication::processEvents();
    EXPECT_EQ(box->ClientWidget()->height(), 32 * 99 + 18);
    form.Hide();
}

// A form that notes its destruction.
std::vector<String>* DestroyedForms = nullptr;
struct LoggedForm : TForm {
    using TForm::TForm;
    ~LoggedForm() override {
        if (DestroyedForms) DestroyedForms->push_back(Name());
    }
};

TEST(Forms, OwnershipFreesChildrenAndTheMainFormEndsRun) {
    auto* main = new TForm(Application);
    auto* panel = new TPanel(main);
    panel->SetParent(main);
    auto* inner = new TButton(main);
    inner->SetParent(panel);
    int before = main->ComponentCount();
    delete panel;  // its child control goes with it
    EXPECT_EQ(main->ComponentCount(), before - 2);
    EXPECT_EQ(main->ControlCount(), 0);

    delete main;

    // The first form made by CreateForm is the main form; its close box
    // ends Run, and the program's end destroys every form, the last made
    // first.
    std::vector<String> destroyed;
    DestroyedForms = &destroyed;
    LoggedForm* mainForm = nullptr;
    Application->CreateForm(mainForm);
    mainForm->SetName("MainWindow");
    LoggedForm* dialog = nullptr;
    Application->CreateForm(dialog);
    dialog->SetName("Dialog");
    ASSERT_EQ(Application->MainForm(), mainForm);
    QTimer::singleShot(0, [mainForm] {
        EXPECT_TRUE(mainForm->Showing());
        mainForm->Widget()->close();
    });
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(destroyed, (std::vector<String>{"Dialog", "MainWindow"}));
    EXPECT_EQ(Application->ComponentCount(), 0);
    EXPECT_EQ(Application->MainForm(), nullptr);
    DestroyedForms = nullptr;
}

}  // namespace
