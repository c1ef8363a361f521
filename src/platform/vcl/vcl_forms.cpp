// Forms (windows) and the application object.
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSocketNotifier>
#include <cerrno>
#include <memory>

#include "modal.h"
#include "stop_signals.h"
#include "vcl_internal.h"
#include "vcl_widgets.h"

using namespace vcl::detail;

TApplication* Application = new TApplication;

// ---- TForm

namespace {

// What assistive technology sees of a form: a window (frame) with its
// caption, or a dialog for the dialog and tool window borders.
class FormAccessible : public QAccessibleWidget {
public:
    explicit FormAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}
    QAccessible::Role role() const override {
        Qt::WindowType type = widget()->windowType();
        return type == Qt::Dialog || type == Qt::Tool ? QAccessible::Dialog : QAccessible::Window;
    }
};

}  // namespace

// The framework's font is the font of every window, also of the menus and
// hints that open on their own; a control's widget, made before it goes
// into its form, then needs no change of font there. Set when the first
// form is made, as the fonts are looked up then.
static void UseTheFrameworkFont() {
    static bool done = false;
    if (done) return;
    done = true;
    QApplication::setFont(ToQFont(TFont()));
}

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner, new FormWindow), FClient(new QWidget(FWidget)) {
    UseTheFrameworkFont();
    static_cast<FormWindow*>(FWidget)->focusNext = [this](bool next) { return SelectNext(next); };
    QAccessible::registerAccessibleInterface(new FormAccessible(FWidget));
    // Forms are placed on the primary screen. Said at once, every control
    // made on the form finds its screen (for its font) without a search.
    FWidget->setScreen(QGuiApplication::primaryScreen());
    FParentFont = false;
    ApplyFont();  // the framework's default form font
    ApplyWindowFlags();
    SetClientSize(320, 240);
}

TForm::~TForm() {
    static_cast<FormWindow*>(FWidget)->focusNext = nullptr;
    DestroyComponents();  // they still see a whole form
    if (Application && Application->FMainForm == this) Application->FMainForm = nullptr;
}

QWidget* TForm::ClientWidget() const { return FClient; }

int TForm::MenuBarHeight() const {
    if (!FMenuBar || !FMenu || FMenu->Count() == 0) return 0;
    return FMenuBar->sizeHint().height();
}

static bool FixedSize(TFormBorderStyle s) { return s != bsSizeable && s != bsSizeToolWin; }

// The menu bar on top, then the client area of exactly ClientWidth x
// ClientHeight; a fixed border keeps the window at that size.
void TForm::LayoutWindow() {
    int menu = MenuBarHeight();
    if (FMenuBar) {
        FMenuBar->setVisible(menu > 0);
        FMenuBar->setGeometry(0, 0, FClientW, menu);
    }
    FClient->setGeometry(0, menu, FClientW, FClientH);
    FWidth = FClientW;
    FHeight = FClientH + menu;
    if (FixedSize(FBorderStyle)) {
        FWidget->setFixedSize(FWidth, FHeight);
    } else {
        FWidget->setMinimumSize(0, 0);
        FWidget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        FWidget->resize(FWidth, FHeight);
    }
}

void TForm::SetClientSize(int width, int height) {
    FClientW = std::max(0, width);
    FClientH = std::max(0, height);
    LayoutWindow();
}

void TForm::SetBounds(int left, int top, int width, int height) {
    FLeft = left;
    FTop = top;
    FClientW = std::max(0, width);
    FClientH = std::max(0, height - MenuBarHeight());
    LayoutWindow();
    FWidget->move(left, top);
}

// A tool window border is a utility window (a small title bar, no task
// bar entry); a dialog border a dialog.
void TForm::ApplyWindowFlags() {
    bool tool = FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin;
    bool dialog = tool || FBorderStyle == bsDialog;
    Qt::WindowFlags flags = tool ? Qt::Tool : dialog ? Qt::Dialog : Qt::Window;
    if (FBorderStyle == bsNone) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (FBorderIcons & biSystemMenu) {
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
            if (!dialog && (FBorderIcons & biMinimize)) flags |= Qt::WindowMinimizeButtonHint;
            if (!dialog && (FBorderIcons & biMaximize) && !FixedSize(FBorderStyle))
                flags |= Qt::WindowMaximizeButtonHint;
        }
    }
    bool shown = FWidget->isVisible();
    FWidget->setWindowFlags(flags);
    if (shown) FWidget->show();
}

void TForm::SetBorderStyle(TFormBorderStyle s) {
    FBorderStyle = s;
    ApplyWindowFlags();
    LayoutWindow();
}

void TForm::SetBorderIcons(TBorderIcons icons) {
    FBorderIcons = icons;
    ApplyWindowFlags();
}

void TForm::SetPosition(TPosition p) { FPosition = p; }

void TForm::SetMenu(TMainMenu* menu) {
    if (FMenu && FMenu != menu) FMenu->FForm = nullptr;
    FMenu = menu;
    if (menu) {
        if (!FMenuBar) {
            FMenuBar = NewMenuBar(FWidget);
            // F10 goes to the menu bar, never to the focused control.
            auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), FWidget);
            f10->setContext(Qt::WindowShortcut);
            QObject::connect(f10, &QShortcut::activated, FMenuBar, [this] { ActivateMenuBar(); });
        }
        menu->FForm = this;
        menu->Attach(FMenuBar);
    }
    LayoutWindow();
}

// What F10 does: the same as a press and release of Alt, which the menu
// bar watches for in its window. The bar takes the keyboard with its
// first menu highlighted, Down or Return opens that menu, and Escape (or
// F10 again) gives the keyboard back to the control that had it. The
// bar's watcher over the window is handed the two events that a press
// and a release of Alt bring it.
void TForm::ActivateMenuBar() {
    if (!FMenuBar || !FMenuBar->isVisible()) return;
    QObject* watcher = FMenuBar;
    QKeyEvent altDown(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    watcher->eventFilter(FWidget, &altDown);
    QKeyEvent altUp(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    watcher->eventFilter(FWidget, &altUp);
}

void TForm::SetCaption(const String& s) {
    FCaption = s;
    FWidget->setWindowTitle(ToQString(s));
}

static void CentreOn(QWidget* w, const QRect& area) {
    QSize size = w->frameGeometry().size();
    w->move(area.center().x() - size.width() / 2, area.center().y() - size.height() / 2);
}

void TForm::PlaceOnScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    QRect desktop = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    switch (FPosition) {
        case poScreenCenter:
        case poDesktopCenter: CentreOn(FWidget, desktop); break;
        case poMainFormCenter:
        case poOwnerFormCenter: {
            TForm* over = FPosition == poOwnerFormCenter ? dynamic_cast<TForm*>(Owner()) : nullptr;
            if (!over && Application) over = Application->MainForm();
            if (over && over != this && over->Showing()) CentreOn(FWidget, over->FWidget->frameGeometry());
            else CentreOn(FWidget, desktop);
            break;
        }
        case poDesigned: FWidget->move(FLeft, FTop); break;
        default: break;
    }
}

void TForm::SetVisible(bool on) {
    if (on) {
        if (!FWidget->isVisible()) PlaceOnScreen();
        FVisible = true;
        FWidget->show();
        // A window shown for the first time gives the focus to its first
        // tab stop; afterwards to the control that had it last, or again
        // to the first when the form itself had taken the keyboard.
        QWidget* last = FWidget->focusWidget();
        if (!last || last == FWidget || !last->isVisible() || !last->isEnabled()) SelectNext(true);
        if (QGuiApplication::platformName() != "offscreen") {
            FWidget->raise();
            FWidget->activateWindow();
        }
    } else {
        FVisible = false;
        FWidget->hide();
    }
}

bool TForm::Showing() const { return FWidget->isVisible(); }

TWinControl* TForm::ControlOf(const QWidget* w) {
    for (; w && w != FWidget; w = w->parentWidget()) {
        for (int i = 0; i < ComponentCount(); ++i) {
            auto* c = dynamic_cast<TWinControl*>(Components(i));
            if (c && c->Widget() == w) return c;
        }
    }
    return nullptr;
}

bool TForm::SelectNext(bool forward) {
    std::vector<TWinControl*> sequence;
    for (TWinControl* child : FTabList) child->AppendTabSequence(sequence);
    if (sequence.empty()) return false;
    const int n = static_cast<int>(sequence.size());
    TWinControl* current = ControlOf(FWidget->focusWidget());
    int at = static_cast<int>(std::find(sequence.begin(), sequence.end(), current) - sequence.begin());
    if (at == n) at = forward ? -1 : n;  // from outside the sequence: its first or last stop
    for (int step = 1; step <= n; ++step) {
        int i = ((at + (forward ? step : -step)) % n + n) % n;
        TWinControl* c = sequence[static_cast<size_t>(i)];
        QWidget* target = c->TabTarget();
        if (!target || !c->EffectivelyEnabled() || !c->Widget()->isVisibleTo(FWidget)) continue;
        target->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        FFocusWidget = c->Widget();
        // A scroll box brings the focused control into view.
        for (TWinControl* p = c->Parent(); p; p = p->Parent())
            if (auto* box = dynamic_cast<TScrollBox*>(p))
                static_cast<QScrollArea*>(box->Widget())->ensureWidgetVisible(c->Widget(), 0, 0);
        return true;
    }
    return false;
}

int TForm::ShowModal() {
    if (FModal) throw Exception("Cannot make a visible window modal");
    return vcl::Modal().ShowModal(*this);
}

void TForm::Close() {
    if (FModal) {
        if (FModalResult == mrNone) FModalResult = mrCancel;
        ModalStateChanged(*this);
        return;
    }
    Hide();
    if (Application && Application->MainForm() == this) Application->Terminate();
}

void TForm::SetModalResult(int r) {
    FModalResult = r;
    if (FModal && r != mrNone) ModalStateChanged(*this);
}

void TForm::BeginModal() {
    FModal = true;
    FModalResult = mrNone;
}

void TForm::EndModal() { FModal = false; }

void TForm::PublishMethod(const String& name, TMethod method) { FMethods.emplace_back(name, std::move(method)); }

std::vector<String> TForm::MethodNames() const {
    std::vector<String> names;
    for (const auto& [name, method] : FMethods) names.push_back(name);
    return names;
}

const TMethod* TForm::MethodAddress(const String& name) const {
    for (const auto& [n, method] : FMethods)
        if (n == name) return &method;
    return nullptr;
}

// The button that Enter presses: the focused button, else the default one.
static TButton* EnterButton(TWinControl* parent, QWidget* focus, TButton*& fallback) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (auto* b = dynamic_cast<TButton*>(c)) {
            if (b->Widget() == focus) return b;
            if (!fallback && b->Default() && b->Visible()) fallback = b;
        }
        if (auto* w = dynamic_cast<TWinControl*>(c))
            if (TButton* found = EnterButton(w, focus, fallback)) return found;
    }
    return nullptr;
}

bool TForm::WidgetEvent(QObject* watched, QEvent* event) {
    if (watched == FWidget) {
        switch (event->type()) {
            case QEvent::Close:
                if (FModal) {  // the close box ends the showing
                    if (FModalResult == mrNone) FModalResult = mrCancel;
                    ModalStateChanged(*this);
                    event->ignore();
                    return true;
                }
                FVisible = false;
                if (Application && Application->MainForm() == this) Application->Terminate();
                return false;
            case QEvent::KeyPress: {
                auto* key = static_cast<QKeyEvent*>(event);
                if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
                    TButton* fallback = nullptr;
                    TButton* button = EnterButton(this, QApplication::focusWidget(), fallback);
                    if (!button) button = fallback;
                    if (button) {
                        DispatchEvent([button] { button->Click(); });
                        return true;
                    }
                }
                break;
            }
            case QEvent::Resize:
                if (!FixedSize(FBorderStyle) && FWidget->isVisible()) {
                    int menu = MenuBarHeight();
                    FClientW = FWidget->width();
                    FClientH = std::max(0, FWidget->height() - menu);
                    if (FMenuBar) FMenuBar->setGeometry(0, 0, FClientW, menu);
                    FClient->setGeometry(0, menu, FClientW, FClientH);
                    FWidth = FClientW;
                    FHeight = FClientH + menu;
                }
                break;
            default: break;
        }
    }
    return TWinControl::WidgetEvent(watched, event);
}

void TForm::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "ClientWidth") SetClientSize(IntValue(v), FClientH);
    else if (name == "ClientHeight") SetClientSize(FClientW, IntValue(v));
    else if (name == "BorderStyle")
        SetBorderStyle(static_cast<TFormBorderStyle>(
            EnumValue(v, {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"})));
    else if (name == "BorderIcons") {
        TBorderIcons icons = 0;
        for (const String& s : v.AsList()) {
            if (s == "biSystemMenu") icons |= biSystemMenu;
            else if (s == "biMinimize") icons |= biMinimize;
            else if (s == "biMaximize") icons |= biMaximize;
            else if (s == "biHelp") icons |= biHelp;
            else throw EResourceError("unknown border icon " + s);
        }
        SetBorderIcons(icons);
    } else if (name == "Position")
        SetPosition(static_cast<TPosition>(EnumValue(v, {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                                                         "poScreenCenter", "poDesktopCenter", "poMainFormCenter",
                                                         "poOwnerFormCenter"})));
    else if (name == "Menu") {
        FPendingMenu = v.AsIdent();
        FPendingMenuLine = v.line;
    } else if (name == "Scaled" || name == "OldCreateOrder" || name == "KeyPreview" || name == "AutoScroll" ||
               name == "Visible")
        v.AsBool();  // a loaded form is shown by Show or ShowModal only
    else if (name == "PixelsPerInch" || name == "TextHeight") IntValue(v);
    else if (name == "FormStyle") EnumValue(v, {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"});
    else if (name == "WindowState") EnumValue(v, {"wsNormal", "wsMinimized", "wsMaximized"});
    else TWinControl::ReadProperty(name, v);
}

// ---- TApplication

// The name the program was started by, without its folder: each edition
// (and each test program) calls itself by its own name.
static String ProgramName() {
    const char* name = program_invocation_short_name;
    return name ? String(name) : String();
}

TApplication::TApplication() : TComponent(nullptr), Title(ProgramName()) {}

// The Qt application takes the program's name as its own: the window
// system's class of the windows and the application that assistive
// technology lists.
void TApplication::Initialize() {
    if (!QApplication::instance()) {
        static int argc = 1;
        static String name = ProgramName();
        static char* argv[] = {name.data(), nullptr};
        new QApplication(argc, argv);
    }
    InstallControlAccessibility();
    QApplication::setQuitOnLastWindowClosed(false);
    // The framework's font is the font of every window, also of the menus
    // and hints that open on their own; a control's widget, made before it
    // goes into its form, then needs no change of font there.
    QApplication::setFont(ToQFont(TFont()));
}

void TApplication::Run() {
    if (!QApplication::instance()) return;
    // A stop signal ends the run the way Terminate does, after the event
    // under way.
    std::unique_ptr<QSocketNotifier> stop;
    if (const int fd = vcl::StopSignalDescriptor(); fd >= 0) {
        stop = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(stop.get(), &QSocketNotifier::activated, [this] {
            vcl::DrainStopSignals();
            Terminate();
        });
    }
    if (FMainForm && !FTerminated) FMainForm->Show();
    if (!FTerminated) QApplication::exec();
    stop.reset();
    // The program ends: its forms go first, while every unit is still
    // there for their destructors.
    DestroyComponents();
    FMainForm = nullptr;
}

void TApplication::Terminate() {
    FTerminated = true;
    if (QCoreApplication::instance()) QCoreApplication::exit(0);
}

void TApplication::ShowException(const Exception& e) { vcl::Modal().ExceptionBox(e.Message, Title); }

void TApplication::HandleException() {
    if (!std::current_exception()) return;
    try {
        throw;
    } catch (const Exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(Exception());
    }
}

void TApplication::ProcessMessages() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}
