// The application as every test of windows starts it: the state of the Qt
// application and of the component layer's Application object that one
// test can leave behind for the next when a test program runs as one
// process. The test main resets it before each test.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QFont>
#include <QTimer>
#include <QWidget>

#include "platform/vcl/modal.h"
#include "platform/vcl/vcl.h"
#include "support/test_env.h"

namespace test_app {

// What a test sets going that can outlive it (a timer waiting to answer a
// dialog) is made a child of this; it ends when the next test starts.
inline QObject& TestScope() {
    static QObject* const scope = new QObject;
    return *scope;
}

// The application right after the test main initialised it.
struct StartState {
    QFont font;
};
inline StartState& Start() {
    static StartState start;
    return start;
}

// Notes the state Reset returns to; the test main calls it once, after
// Application->Initialize.
inline void Capture() { Start() = {QApplication::font()}; }

// A quit asked for while no event loop ran (Application->Terminate in a
// test) stays pending and ends every later modal dialog and menu at once;
// only the application's own loop clears it, so it is run for a moment.
inline void ClearPendingQuit() {
    QEventLoop probe;
    QTimer::singleShot(0, &probe, [&probe] { probe.exit(1); });
    if (probe.exec() == 1) return;  // the loop ran: no quit pending
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QApplication::exec();
}

// Back to the start state: no window of an earlier test showing, nothing it
// left running, the default modal host, the known locale and the start font,
// an empty clipboard and no override cursor, no quit pending, and a fresh
// Application object (not terminated, no main form, no forms left over).
inline void Reset() {
    test_env::RestoreProcessState();
    const QObjectList leftover = TestScope().children();
    qDeleteAll(leftover);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) w->hide();
    vcl::SetModalHost(nullptr);
    TApplication* previous = Application;
    delete previous;  // frees the forms an earlier test left to it
    Application = new TApplication;
    QApplication::setQuitOnLastWindowClosed(false);
    ClearPendingQuit();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (QApplication::font() != Start().font) QApplication::setFont(Start().font);
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
    QGuiApplication::clipboard()->clear();
}

class ResetBeforeEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { Reset(); }
};

}  // namespace test_app
