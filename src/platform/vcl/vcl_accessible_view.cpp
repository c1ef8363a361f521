// What assistive technology is told of where the objects stand: whether
// they are in view, and which one has the keyboard focus.
//
//  - An object scrolled out of its scroll box's view is off screen (not
//    showing), and showing again once scrolled in: the controls of the
//    channel table (vcl_accessible.cpp) and the labels and lines among
//    them. A screen reader that reads "what is on screen" then reads the
//    rows the user sees, not a hundred rows at once.
//  - One object is focused at a time, the one that has the keyboard: a
//    widget that hands the focus on to another (a page control to its
//    tabs, a message box's button row to its buttons, a memo's view to
//    the memo) is not focused itself, and a page control's tab is focused
//    only while its tab list has the focus, the current tab standing for
//    the list.
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <map>

#include "vcl_accessible.h"

using namespace vcl::detail;

// Out of view: every part of the widget is clipped away by one of the
// widgets it stands in, up to its window.
bool vcl::detail::OutOfView(const QWidget* w) {
    QRect r = w->rect();
    if (r.isEmpty()) return false;  // nothing to show, nothing to clip
    for (const QWidget* p = w; !p->isWindow() && p->parentWidget(); p = p->parentWidget()) {
        r = r.translated(p->pos()) & p->parentWidget()->rect();
        if (r.isEmpty()) return true;
    }
    return false;
}

namespace {

// Whether w stands in the scrolled area of a scroll box, where it can be
// scrolled out of view.
bool InScrolledArea(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (auto* area = qobject_cast<const QAbstractScrollArea*>(p->parentWidget()); area && area->viewport() == p)
            return true;
    return false;
}

// A label or a line in the scrolled area of a scroll box.
class ScrolledAccessible : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (!s.invisible && OutOfView(widget())) s.offscreen = true;
        return s;
    }
    QString text(QAccessible::Text t) const override {
        auto* label = qobject_cast<QLabel*>(widget());
        if (t != QAccessible::Name || !label || !widget()->accessibleName().isEmpty()) return QAccessibleWidget::text(t);
        return label->text();
    }
};

// A widget that hands its focus on: focused only while it has the
// keyboard itself.
class FocusPassingAccessible : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focused = QApplication::focusWidget() == widget();
        return s;
    }
};

// A tab of a page control's tab list: selected while it is the current
// one, focused while that is so and the list has the focus; pressing it
// shows its page.
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabAccessible(QTabBar* bar, int index) : FBar(bar), FIndex(index) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    bool isValid() const override { return FBar && FIndex < FBar->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return FBar ? FBar->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(FBar.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        if (t == QAccessible::Name) return QString(FBar->tabText(FIndex)).remove('&');
        if (t == QAccessible::Description) return FBar->tabToolTip(FIndex);
        return {};
    }
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = FBar->tabRect(FIndex);
        return QRect(FBar->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) return s;
        s.invisible = !FBar->isVisible() || !FBar->isTabVisible(FIndex);
        s.disabled = !FBar->isEnabled() || !FBar->isTabEnabled(FIndex);
        s.focusable = FBar->focusPolicy() != Qt::NoFocus;
        s.selectable = true;
        s.selected = FBar->currentIndex() == FIndex;
        s.focused = s.selected && FBar->hasFocus();
        return s;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction() && isValid() && FBar->isEnabled()) FBar->setCurrentIndex(FIndex);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QTabBar> FBar;
    int FIndex;
};

class TabBarAccessible : public QAccessibleWidget {
public:
    explicit TabBarAccessible(QTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}
    ~TabBarAccessible() override {
        for (const auto& [index, id] : FTabs) QAccessible::deleteAccessibleInterface(id);
    }

    // The tabs, then the arrows that scroll them when they do not fit.
    int childCount() const override { return Bar()->count() + static_cast<int>(Arrows().size()); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        if (index >= Bar()->count()) return QAccessible::queryAccessibleInterface(Arrows()[index - Bar()->count()]);
        auto known = FTabs.find(index);
        if (known != FTabs.end()) return QAccessible::accessibleInterface(known->second);
        auto* tab = new TabAccessible(Bar(), index);
        FTabs[index] = QAccessible::registerAccessibleInterface(tab);
        return tab;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child) return -1;
        if (QObject* arrow = child->object()) {
            const qsizetype at = Arrows().indexOf(arrow);
            return at < 0 ? -1 : Bar()->count() + static_cast<int>(at);
        }
        for (const auto& [index, id] : FTabs)
            if (QAccessible::accessibleInterface(id) == child) return index;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int index = Bar()->tabAt(Bar()->mapFromGlobal(QPoint(x, y)));
        return index >= 0 ? child(index) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return Bar()->hasFocus() && Bar()->currentIndex() >= 0 ? child(Bar()->currentIndex()) : nullptr;
    }
    // The current tab takes the focus for the list.
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focused = false;
        return s;
    }

private:
    QTabBar* Bar() const { return static_cast<QTabBar*>(widget()); }
    QList<QObject*> Arrows() const {
        QList<QObject*> arrows;
        for (QToolButton* b : Bar()->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)) arrows << b;
        return arrows;
    }
    mutable std::map<int, QAccessible::Id> FTabs;
};

QAccessibleInterface* ViewFactory(const QString&, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w) return nullptr;
    if (auto* bar = qobject_cast<QTabBar*>(w)) return new TabBarAccessible(bar);
    const bool plain = w->metaObject() == &QWidget::staticMetaObject;
    // A page control, a button row, the view of a memo or a list.
    if (qobject_cast<QTabWidget*>(w) || (plain && w->focusProxy())) return new FocusPassingAccessible(w);
    if (qobject_cast<QDialogButtonBox*>(w)) return new FocusPassingAccessible(w, QAccessible::Grouping);
    const bool graphic = qobject_cast<QLabel*>(w) || (plain && !WindowedControlOf(w));
    if (graphic && InScrolledArea(w))
        return new ScrolledAccessible(w, qobject_cast<QLabel*>(w) ? QAccessible::StaticText : QAccessible::Client);
    return nullptr;
}

}  // namespace

void vcl::detail::InstallViewAccessibility() { QAccessible::installFactory(ViewFactory); }
