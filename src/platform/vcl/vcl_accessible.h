// The accessible objects of the component layer's controls that show no
// caption of their own (not for users of the layer; vcl_accessible.cpp).
#pragma once

#include <QAccessibleWidget>

#include "vcl_internal.h"

class QLineEdit;

namespace vcl::detail {

// Where the objects stand: in view or scrolled out, and the one focused
// (vcl_accessible_view.cpp); installed with the controls' objects.
void InstallViewAccessibility();

// Whether the widget is clipped away entirely by the widgets it stands in
// (scrolled out of its scroll box's view).
bool OutOfView(const QWidget* w);

// A control's own name (set for it, or its caption), else the one its
// labels give it.
class ControlAccessible : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Value();
        if (t != QAccessible::Name) return QAccessibleWidget::text(t);
        QString name = widget()->accessibleName();
        if (name.isEmpty()) name = Caption();
        if (name.isEmpty()) name = LabelledName(widget());
        return name;
    }
    // Scrolled out of view, it is off screen.
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (!s.invisible && OutOfView(widget())) s.offscreen = true;
        return s;
    }

protected:
    virtual QString Caption() const { return {}; }
    virtual QString Value() const { return {}; }
};

// An edit: its text to read, its caret and selection.
QAccessibleInterface* NewEditAccessible(QLineEdit* edit);

}  // namespace vcl::detail
