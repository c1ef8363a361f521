// What assistive technology finds in a window: the accessible objects of
// a widget and everything beneath it, as a screen reader walks them.
#pragma once

#include <QAccessible>
#include <QApplication>
#include <QWidget>

#include <functional>
#include <set>
#include <vector>

namespace accessible {

// Visits the object of `root` and every object beneath it, depth first;
// `path` names the way down ("window/scroll area/..."), for messages.
inline void Walk(QAccessibleInterface* root,
                 const std::function<void(QAccessibleInterface*, const QString& path)>& visit) {
    std::set<QAccessibleInterface*> seen;
    std::function<void(QAccessibleInterface*, const QString&)> down = [&](QAccessibleInterface* a,
                                                                          const QString& above) {
        if (!a || !a->isValid() || !seen.insert(a).second) return;
        const QString path = above + "/" + a->text(QAccessible::Name) + "[" + QString::number(a->role()) + "]";
        visit(a, path);
        for (int i = 0; i < a->childCount(); ++i) down(a->child(i), path);
    };
    down(root, QString());
}

inline void Walk(QWidget* root, const std::function<void(QAccessibleInterface*, const QString& path)>& visit) {
    Walk(QAccessible::queryAccessibleInterface(root), visit);
}

// Whether the object claims to be on screen: not invisible, and not
// scrolled out of view.
inline bool ClaimsShowing(QAccessibleInterface* a) {
    const QAccessible::State s = a->state();
    return !s.invisible && !s.offscreen;
}

// The objects beneath root that claim the keyboard focus, by their paths.
inline std::vector<QString> FocusedObjects(QWidget* root) {
    std::vector<QString> focused;
    Walk(root, [&](QAccessibleInterface* a, const QString& path) {
        if (a->state().focused) focused.push_back(path);
    });
    return focused;
}

// The object a screen reader is taken to when the keyboard moves: the
// focused widget's, or the item within it that has the focus.
inline QAccessibleInterface* KeyboardObject() {
    QAccessibleInterface* focus = QAccessible::queryAccessibleInterface(QApplication::focusWidget());
    if (QAccessibleInterface* item = focus ? focus->focusChild() : nullptr) return item;
    return focus;
}

inline QString Name(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString("<none>");
}

}  // namespace accessible
