// Driving a form as a user does: the window made active, real Tab and
// Shift+Tab key presses on the focused widget, and the control that holds
// the focus afterwards.
#pragma once

#include <QAccessible>
#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QTimer>

#include <functional>
#include <vector>

#include "platform/vcl/vcl.h"
#include "support/app_state.h"

namespace keyboard {

// Shows the form as the active window (offscreen too); false if it did
// not become active.
inline bool ShowActive(TForm& form) {
    form.Show();
    form.Widget()->activateWindow();
    return QTest::qWaitForWindowActive(form.Widget());
}

// The form's innermost windowed control that holds the focus (a radio
// group for its items): its name, "" for a control without one, "-" when
// no control of the form has the focus.
inline String FocusedControl(const TForm& form) {
    QWidget* focus = QApplication::focusWidget();
    const TWinControl* best = nullptr;
    for (int i = 0; focus && i < form.ComponentCount(); ++i) {
        auto* c = dynamic_cast<const TWinControl*>(form.Components(i));
        if (!c || (c->Widget() != focus && !c->Widget()->isAncestorOf(focus))) continue;
        if (!best || best->Widget()->isAncestorOf(c->Widget())) best = c;
    }
    return best ? best->Name() : String("-");
}

// Presses Tab (Shift+Tab when backwards) on the focused widget, count
// times; the focused control after each press.
inline std::vector<String> PressTab(const TForm& form, int count, bool backwards = false) {
    std::vector<String> visited;
    for (int i = 0; i < count; ++i) {
        QWidget* focus = QApplication::focusWidget();
        if (!focus) break;
        QTest::keyClick(focus, Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
        visited.push_back(FocusedControl(form));
    }
    return visited;
}

// Presses Tab (or Shift+Tab) until the focus is back where it started;
// the controls visited on the way, the starting one last.
inline std::vector<String> TabRound(const TForm& form, bool backwards = false, int limit = 2000) {
    const String start = FocusedControl(form);
    std::vector<String> visited;
    while (static_cast<int>(visited.size()) < limit) {
        std::vector<String> one = PressTab(form, 1, backwards);
        if (one.empty()) break;
        visited.push_back(one[0]);
        if (one[0] == start) break;
    }
    return visited;
}

// What a screen reader finds in a group: the child named name, or null.
inline QAccessibleInterface* AccessibleChild(QWidget* group, const QString& name) {
    QAccessibleInterface* g = QAccessible::queryAccessibleInterface(group);
    for (int i = 0; g && i < g->childCount(); ++i)
        if (g->child(i)->text(QAccessible::Name) == name) return g->child(i);
    return nullptr;
}

// The action by which a screen reader chooses an item ("" if none).
inline QString ChoosingAction(QAccessibleInterface* item) {
    QAccessibleActionInterface* actions = item ? item->actionInterface() : nullptr;
    if (!actions) return {};
    const QStringList names = actions->actionNames();
    for (const QString& a : {QAccessibleActionInterface::toggleAction(), QAccessibleActionInterface::pressAction()})
        if (names.contains(a)) return a;
    return {};
}

// Once the first modal dialog of class dialogClass that shows has the
// keyboard, types text (if any) into its focused control and presses key
// there; counts the dialogs so answered. It stops waiting after ten
// seconds or when the test ends, so that it cannot answer a later test's
// dialog. `look`, if given, sees the dialog first, as it shows.
inline void AnswerDialog(const char* dialogClass, const QString& text, Qt::Key key, int* answered,
                         std::function<void(QWidget* dialog)> look = {}) {
    auto* timer = new QTimer(&test_app::TestScope());
    const QDeadlineTimer giveUp(10000);
    QObject::connect(timer, &QTimer::timeout, [=] {
        if (giveUp.hasExpired()) {
            timer->deleteLater();
            return;
        }
        QWidget* dialog = QApplication::activeModalWidget();
        QWidget* focus = QApplication::focusWidget();
        if (!dialog || !dialog->inherits(dialogClass) || !dialog->isActiveWindow() || !focus ||
            !dialog->isAncestorOf(focus))
            return;
        if (look) look(dialog);
        if (!text.isEmpty()) QTest::keyClicks(focus, text);
        QTest::keyClick(focus, key);
        ++*answered;
        timer->deleteLater();
    });
    timer->start(10);
}

}  // namespace keyboard
