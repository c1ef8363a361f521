// What assistive technology reads of an edit: the text it shows, the
// caret and the selection, and where each character stands on screen.
#include <QFontMetrics>
#include <QLineEdit>

#include "vcl_accessible.h"

using namespace vcl::detail;

namespace {

class EditAccessible : public ControlAccessible, public QAccessibleTextInterface {
public:
    explicit EditAccessible(QLineEdit* edit) : ControlAccessible(edit, QAccessible::EditableText) {}
    using ControlAccessible::text;

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return ControlAccessible::interface_cast(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = ControlAccessible::state();
        s.selectableText = true;
        if (Edit()->isReadOnly()) s.readOnly = true;
        else s.editable = true;
        return s;
    }

    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !Edit()->hasSelectedText()) return;
        *start = Edit()->selectionStart();
        *end = Edit()->selectionEnd();
    }
    int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { Edit()->deselect(); }
    void setSelection(int, int start, int end) override { Edit()->setSelection(start, end - start); }
    int cursorPosition() const override { return Edit()->cursorPosition(); }
    void setCursorPosition(int position) override { Edit()->setCursorPosition(position); }
    QString text(int start, int end) const override { return Shown().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Shown().size()); }
    // The text stands left-aligned after the frame and Qt's margin of two
    // pixels; these edits never hold more than they show.
    QRect characterRect(int offset) const override {
        const QString shown = Shown();
        if (offset < 0 || offset >= shown.size()) return {};
        const QFontMetrics metrics(Edit()->font());
        const QRect area = Edit()->contentsRect().marginsRemoved(Edit()->textMargins());
        const int x = area.left() + 2 + metrics.horizontalAdvance(shown.left(offset));
        const int y = area.top() + (area.height() - metrics.height()) / 2;
        const QRect r(x, y, metrics.horizontalAdvance(shown.at(offset)), metrics.height());
        return r.translated(Edit()->mapToGlobal(QPoint(0, 0)));
    }
    int offsetAtPoint(const QPoint& point) const override {
        return Edit()->cursorPositionAt(Edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int, int end) override { Edit()->setCursorPosition(end); }
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

protected:
    QString Value() const override { return Shown(); }

private:
    QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
    QString Shown() const { return Edit()->displayText(); }
};

}  // namespace

QAccessibleInterface* vcl::detail::NewEditAccessible(QLineEdit* edit) { return new EditAccessible(edit); }
