// The name a control without a caption of its own is given for assistive
// technology: the labels that stand for it on screen, as a reader of the
// window takes them.
//
//  - A row that starts with a label (nothing stands to the label's left in
//    the row) is named by it: "05" for every control of the channel row 05.
//    A control in a table also takes the caption of its column: the label
//    above the box that holds the rows, in whose column the control's
//    middle lies ("05 Rx (MHz)"); the row label's own column adds nothing
//    ("05" for the check box under "Channel").
//  - Otherwise the label just above the control names it ("Volume" over its
//    track bar, "Rate RS232" over the rate box),
//  - or else the label right after it in its row ("MHz" after the
//    frequency edit).
//
// Only labels and windowed controls count; lines and pictures are passed
// over, and hidden controls are not on screen.
#include <QLabel>
#include <QWidget>
#include <vector>

#include "vcl_internal.h"

using namespace vcl::detail;

namespace {

struct Placed {
    const QWidget* widget;
    QRect rect;  // in the parent's coordinates
    bool label;
};

const QLabel* AsLabel(const QWidget* w) { return qobject_cast<const QLabel*>(w); }

// The labels with a text and the windowed controls beside w in its parent.
std::vector<Placed> Neighbours(const QWidget* w) {
    std::vector<Placed> out;
    for (const QObject* o : w->parentWidget()->children()) {
        auto* other = qobject_cast<const QWidget*>(o);
        if (!other || other == w || other->isWindow() || other->isHidden()) continue;
        const QLabel* label = AsLabel(other);
        if (label ? label->text().isEmpty() : !WindowedControlOf(other)) continue;
        out.push_back({other, other->geometry(), label != nullptr});
    }
    return out;
}

bool SameRow(const QRect& a, const QRect& b) {
    return a.top() < b.top() + b.height() && b.top() < a.top() + a.height();
}

bool SameColumn(const QRect& a, const QRect& b) {
    return a.left() < b.left() + b.width() && b.left() < a.left() + a.width();
}

// The label that starts w's row.
const QWidget* RowLabel(const QRect& r, const std::vector<Placed>& around) {
    const Placed* first = nullptr;
    for (const Placed& p : around)
        if (SameRow(p.rect, r) && p.rect.center().x() < r.left() && (!first || p.rect.left() < first->rect.left()))
            first = &p;
    return first && first->label ? first->widget : nullptr;
}

// Whether a windowed control stands between the heights `above` and
// `below` in the column of r.
bool Blocked(const std::vector<Placed>& around, const QRect& r, int above, int below) {
    for (const Placed& p : around) {
        const int y = p.rect.center().y();
        if (!p.label && y > above && y < below && SameColumn(p.rect, r)) return true;
    }
    return false;
}

// The label just above r, with nothing windowed between them.
const QWidget* LabelAbove(const QRect& r, const std::vector<Placed>& around) {
    const Placed* nearest = nullptr;
    for (const Placed& p : around)
        if (p.label && p.rect.center().y() < r.top() && SameColumn(p.rect, r) &&
            (!nearest || p.rect.center().y() > nearest->rect.center().y()))
            nearest = &p;
    if (!nearest || Blocked(around, r, nearest->rect.center().y(), r.top())) return nullptr;
    return nearest->widget;
}

// The label right after r in its row.
const QWidget* LabelAfter(const QRect& r, const std::vector<Placed>& around) {
    const Placed* next = nullptr;
    for (const Placed& p : around)
        if (SameRow(p.rect, r) && p.rect.center().x() > r.right() && (!next || p.rect.left() < next->rect.left()))
            next = &p;
    return next && next->label ? next->widget : nullptr;
}

// The caption of the table column that holds w: a label standing above
// the control that encloses w's row (the box of the rows), over the box's
// width, with nothing windowed between; of those, the last one that
// begins at or before w's middle.
const QWidget* ColumnCaption(const QWidget* w) {
    const QWidget* box = w->parentWidget();
    while (box && !WindowedControlOf(box)) box = box->parentWidget();
    if (!box || box->isWindow() || !box->parentWidget()) return nullptr;
    const QWidget* page = box->parentWidget();
    const QRect boxRect = box->geometry();
    const int middle = w->mapTo(page, w->rect().center()).x();
    const std::vector<Placed> around = Neighbours(box);
    const Placed* caption = nullptr;
    for (const Placed& p : around) {
        if (!p.label || p.rect.center().y() >= boxRect.top() || !SameColumn(p.rect, boxRect)) continue;
        if (p.rect.left() > middle || Blocked(around, p.rect, p.rect.center().y(), boxRect.top())) continue;
        if (!caption || p.rect.left() > caption->rect.left()) caption = &p;
    }
    return caption ? caption->widget : nullptr;
}

QString TextOf(const QWidget* label) { return AsLabel(label)->text(); }

}  // namespace

QString vcl::detail::LabelledName(const QWidget* w) {
    if (!w || !w->parentWidget() || w->isWindow()) return {};
    const std::vector<Placed> around = Neighbours(w);
    const QRect r = w->geometry();
    if (const QWidget* row = RowLabel(r, around)) {
        QString name = TextOf(row);
        const QWidget* column = ColumnCaption(w);
        if (column && column != ColumnCaption(row)) name += " " + TextOf(column);
        return name;
    }
    if (const QWidget* above = LabelAbove(r, around)) return TextOf(above);
    if (const QWidget* after = LabelAfter(r, around)) return TextOf(after);
    return {};
}
