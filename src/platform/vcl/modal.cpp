// The modal seam and its default host over Qt dialogs.
#include "modal.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QUrl>
#include <map>

#include "user_interface.h"
#include "vcl_internal.h"

using namespace vcl::detail;

namespace vcl {

namespace {

// The nested loops of the forms now shown modally.
std::map<TForm*, QEventLoop*>& ModalLoops() {
    static std::map<TForm*, QEventLoop*> loops;
    return loops;
}

QWidget* OwnerWidget(TForm* owner) {
    if (owner) return owner->Widget();
    return QApplication::activeWindow();
}

// "Tunes files (*.tun)|*.tun|All files (*.*)|*.*" as Qt writes filters:
// "Tunes files (*.tun);;All files (*)". "*.*" means every file.
QStringList QtFilters(const String& filter) {
    QStringList parts = ToQString(filter).split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            if (p == "*.*") p = "*";
        }
        QString shown = "(" + parts[i + 1].trimmed() + ")";
        if (description.endsWith(shown)) description.chop(shown.size());
        out << description.trimmed() + " (" + patterns.join(' ') + ")";
    }
    return out;
}

// The keyboard focus goes back where it was when a dialog closes. A
// window manager gives the window under a closed dialog its activation
// back, but without one no window is active then, and Tab does nothing.
// When no window is active as the dialog opens (the window system has not
// yet answered the return from a dialog just closed), the focus goes back
// to the dialog's owner, or else the main window, where its control last
// had it.
class FocusReturn {
public:
    explicit FocusReturn(TForm* owner = nullptr) : FWindow(QApplication::activeWindow()) {
        if (!FWindow) {
            if (!owner && Application) owner = Application->MainForm();
            if (owner) FWindow = owner->Widget();
        }
        if (FWindow) FFocus = FWindow->focusWidget();
    }
    ~FocusReturn() {
        if (!FWindow || !FWindow->isVisible()) return;
        if (FFocus && FFocus->isVisible() && FFocus->isEnabled()) FFocus->setFocus(Qt::ActiveWindowFocusReason);
        FWindow->activateWindow();
    }
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

private:
    QPointer<QWidget> FWindow, FFocus;
};

class QtModalHost : public ModalHost {
public:
    int MessageBox(TForm* owner, const String& text, const String& caption, unsigned flags) override {
        FocusReturn focus(owner);
        QMessageBox box(OwnerWidget(owner));
        box.setWindowTitle(ToQString(caption));
        box.setText(ToQString(text));
        switch (flags & 0xF0) {
            case 0x10: box.setIcon(QMessageBox::Critical); break;
            case 0x20: box.setIcon(QMessageBox::Question); break;
            case 0x30: box.setIcon(QMessageBox::Warning); break;
            case 0x40: box.setIcon(QMessageBox::Information); break;
            default: break;
        }
        switch (flags & 0x0F) {
            case MB_YESNO: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
            case 1: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
            case 3: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
            default: box.setStandardButtons(QMessageBox::Ok); break;
        }
        int answer = box.exec();
        switch (answer) {
            case QMessageBox::Yes: return IDYES;
            case QMessageBox::No: return IDNO;
            case QMessageBox::Cancel: return IDCANCEL;
            default: return (flags & 0x0F) == MB_YESNO ? IDNO : IDOK;
        }
    }

    bool FileDialog(TOpenDialog& dialog) override {
        FocusReturn focus(dynamic_cast<TForm*>(dialog.Owner()));
        QFileDialog box(QApplication::activeWindow(), ToQString(dialog.Title), ToQString(dialog.InitialDir));
        box.setAcceptMode(dialog.IsSave() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        // A name that does not exist is accepted; the program asks about
        // overwriting itself.
        box.setFileMode(QFileDialog::AnyFile);
        box.setOption(QFileDialog::DontConfirmOverwrite);
        QStringList filters = QtFilters(dialog.Filter);
        if (!filters.isEmpty()) {
            box.setNameFilters(filters);
            int index = dialog.FilterIndex - 1;
            if (index >= 0 && index < filters.size()) box.selectNameFilter(filters[index]);
        }
        if (!dialog.DefaultExt.empty()) box.setDefaultSuffix(ToQString(dialog.DefaultExt));
        if (!dialog.FileName.empty()) box.selectFile(ToQString(dialog.FileName));
        if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) return false;
        dialog.FileName = FromQString(box.selectedFiles().first());
        return true;
    }

    int ShowModal(TForm& form) override {
        FocusReturn focus;
        QWidget* w = form.Widget();
        form.BeginModal();
        w->setWindowModality(Qt::ApplicationModal);
        form.Show();
        QEventLoop loop;
        ModalLoops()[&form] = &loop;
        if (!form.ModalDone()) loop.exec();
        ModalLoops().erase(&form);
        form.Hide();
        w->setWindowModality(Qt::NonModal);
        form.EndModal();
        return form.ModalResult();
    }

    void ExceptionBox(const String& message, const String& title) override {
        FocusReturn focus;
        QMessageBox box(QMessageBox::Critical, ToQString(title), ToQString(message), QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    }

    // No opener: nothing to show.
    void ShellOpen(TForm*, const String&, const String& file) override { QDesktopServices::openUrl(QUrl(ToQString(file))); }
};

QtModalHost& DefaultHost() {
    static QtModalHost host;
    return host;
}

ModalHost* gHost = nullptr;

}  // namespace

ModalHost& Modal() { return gHost ? *gHost : DefaultHost(); }

ModalHost* SetModalHost(ModalHost* host) {
    ModalHost* previous = gHost;
    gHost = host;
    return previous;
}

}  // namespace vcl

void vcl::detail::ModalStateChanged(TForm& form) {
    auto it = vcl::ModalLoops().find(&form);
    if (it != vcl::ModalLoops().end()) it->second->quit();
}
