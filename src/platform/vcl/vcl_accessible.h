// The accessible objects of the component layer's controls that show no
// caption of their own (not for users of the layer; vcl_accessible.cpp).
#pragma once

#include <QAccessibleWidget>

#include "vcl_internal.h"

class QLineEdit;

namespace vcl::detail {

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

protected:
    virtual QString Caption() const { return {}; }
    virtual QString Value() const { return {}; }
};

// An edit: its text to read, its caret and selection.
QAccessibleInterface* NewEditAccessible(QLineEdit* edit);

}  // namespace vcl::detail
