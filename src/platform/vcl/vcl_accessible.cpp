// What assistive technology is told of the controls that show no caption
// of their own: check boxes, edits, track bars, up-downs and combo boxes
// are named after the labels beside them (vcl_accessible_names.cpp), the
// name worked out each time it is asked for, so that nothing is spent on
// it while no one asks and a control that moves (the tone chooser) is
// named after its new place.
//
// Each is one object: an up-down is a spin button with its value and the
// increase and decrease actions of its arrows; a combo box shows its list
// only while the list is open.
#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>

#include "vcl_accessible.h"

using namespace vcl::detail;

namespace {

class CheckBoxAccessible : public ControlAccessible {
public:
    explicit CheckBoxAccessible(QWidget* w) : ControlAccessible(w, QAccessible::CheckBox) {}
    QAccessible::State state() const override {
        QAccessible::State s = ControlAccessible::state();
        s.checkable = true;
        s.checked = Box()->checkState() == Qt::Checked;
        s.checkStateMixed = Box()->checkState() == Qt::PartiallyChecked;
        return s;
    }
    QStringList actionNames() const override {
        return QStringList{toggleAction()} + ControlAccessible::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != toggleAction()) return ControlAccessible::doAction(action);
        if (Box()->isEnabled()) Box()->click();  // as a click on the box
    }

protected:
    QString Caption() const override { return Box()->text(); }

private:
    QCheckBox* Box() const { return static_cast<QCheckBox*>(widget()); }
};

// A control that holds a number: its value, and the number as its text.
class NumberAccessible : public ControlAccessible, public QAccessibleValueInterface {
public:
    using ControlAccessible::ControlAccessible;
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return ControlAccessible::interface_cast(t);
    }

protected:
    QString Value() const override { return currentValue().toString(); }
};

class SliderAccessible : public NumberAccessible {
public:
    explicit SliderAccessible(QWidget* w) : NumberAccessible(w, QAccessible::Slider) {}
    QVariant currentValue() const override { return Slider()->value(); }
    // As a move of the thumb: the track bar's OnChange runs.
    void setCurrentValue(const QVariant& v) override {
        if (Slider()->isEnabled()) Slider()->setValue(v.toInt());
    }
    QVariant maximumValue() const override { return Slider()->maximum(); }
    QVariant minimumValue() const override { return Slider()->minimum(); }
    QVariant minimumStepSize() const override { return Slider()->singleStep(); }

private:
    QSlider* Slider() const { return static_cast<QSlider*>(widget()); }
};

// An up-down: the position it holds, and its arrows as the increase and
// decrease actions (a press is a click on the arrow).
class UpDownAccessible : public NumberAccessible {
public:
    explicit UpDownAccessible(QWidget* w) : NumberAccessible(w, QAccessible::SpinBox) {}
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QVariant currentValue() const override { return UpDown() ? UpDown()->Position() : 0; }
    void setCurrentValue(const QVariant&) override {}  // only the arrows move it
    QVariant maximumValue() const override { return UpDown() ? UpDown()->Max() : 0; }
    QVariant minimumValue() const override { return UpDown() ? UpDown()->Min() : 0; }
    QVariant minimumStepSize() const override { return 1; }

    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled()) names << increaseAction() << decreaseAction();
        return names;
    }
    void doAction(const QString& action) override {
        // The first arrow steps down, the second up.
        const int arrow = action == increaseAction() ? 1 : action == decreaseAction() ? 0 : -1;
        const auto arrows = widget()->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly);
        if (arrow >= 0 && arrow < arrows.size() && widget()->isEnabled()) arrows[arrow]->click();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    TUpDown* UpDown() const { return dynamic_cast<TUpDown*>(WindowedControlOf(widget())); }
};

// A combo box: its choice as the value; its list is there to read only
// while it is open, and opening it is its action.
class ComboBoxAccessible : public ControlAccessible {
public:
    explicit ComboBoxAccessible(QWidget* w) : ControlAccessible(w, QAccessible::ComboBox) {}
    int childCount() const override { return static_cast<int>(Children().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QObject*> children = Children();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children[index]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? static_cast<int>(Children().indexOf(child->object())) : -1;
    }
    QAccessible::State state() const override {
        QAccessible::State s = ControlAccessible::state();
        s.expandable = true;
        s.expanded = Box()->view()->isVisible();
        s.collapsed = !s.expanded;
        return s;
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + ControlAccessible::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) return ControlAccessible::doAction(action);
        if (!Box()->isEnabled()) return;
        if (Box()->view()->isVisible()) Box()->hidePopup();
        else Box()->showPopup();
    }

protected:
    QString Value() const override { return Box()->currentText(); }

private:
    QComboBox* Box() const { return static_cast<QComboBox*>(widget()); }
    QList<QObject*> Children() const {
        QList<QObject*> out;
        if (Box()->lineEdit()) out << Box()->lineEdit();
        if (Box()->view()->isVisible()) out << Box()->view();
        return out;
    }
};

QAccessibleInterface* ControlFactory(const QString&, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w) return nullptr;
    // Cheap tests first: most objects asked for are none of these.
    const bool candidate = qobject_cast<QCheckBox*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QSlider*>(w) ||
                           qobject_cast<QComboBox*>(w) || w->metaObject() == &QWidget::staticMetaObject;
    if (!candidate) return nullptr;
    TWinControl* control = WindowedControlOf(w);
    if (!control) return nullptr;
    if (qobject_cast<QCheckBox*>(w)) return new CheckBoxAccessible(w);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return NewEditAccessible(edit);
    if (qobject_cast<QSlider*>(w)) return new SliderAccessible(w);
    if (qobject_cast<QComboBox*>(w)) return new ComboBoxAccessible(w);
    if (dynamic_cast<TUpDown*>(control)) return new UpDownAccessible(w);
    return nullptr;
}

}  // namespace

void vcl::detail::InstallControlAccessibility() {
    QAccessible::installFactory(ControlFactory);
    InstallViewAccessibility();
}
