// Turning the mouse wheel as a user does: the turn comes from the window
// system at a point of the window, so it reaches the widget beneath the
// pointer and goes on to its parents when that widget leaves it.
#pragma once

#include <QCoreApplication>
#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

namespace pointer {

// A wheel turn over the point `at` of `widget`: notches away from the user
// (positive) or towards the user (negative), 120 eighths of a degree each;
// `eighths` gives a part of a notch, as a fine-stepping wheel sends.
inline void TurnWheel(QWidget* widget, QPoint at, int notches, int eighths = 0) {
    QWidget* top = widget->window();
    QWindow* window = top->windowHandle();
    const QPointF local = widget->mapTo(top, at);
    const QPointF global = top->mapToGlobal(local);
    QWindowSystemInterface::handleWheelEvent(window, local, global, QPoint(), QPoint(0, notches * 120 + eighths));
    QWindowSystemInterface::flushWindowSystemEvents();
    QCoreApplication::processEvents();
}

inline void TurnWheel(QWidget* widget, int notches) { TurnWheel(widget, widget->rect().center(), notches); }

}  // namespace pointer
