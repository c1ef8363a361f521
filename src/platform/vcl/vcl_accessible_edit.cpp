// What assistive technology reads of an edit: the text it shows, the
// caret and the selection, where each character stands on screen, and
// the text in characters, words, sentences and lines.
//
// The text is cut into units of each kind, from the start to the end:
// characters and words and sentences where the Unicode rules part them
// ("33.000" is one word; "__,___" three: "__", ",", "___"), a line, a
// paragraph or the whole text as one unit (these edits hold one line).
// The unit at an offset holds the character at it; at the end of the text
// it is the last unit, but for characters nothing. The units before and
// after are its neighbours, or an empty text at the start or the end when
// there is none; an offset outside the text has no unit (-1, -1).
#include <QFontMetrics>
#include <QLineEdit>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <vector>

#include "vcl_accessible.h"

using namespace vcl::detail;

namespace {

// The offsets where the text is cut into units of the kind, from 0 to
// its length: the finder's boundaries come in rising order and end.
std::vector<int> Cuts(const QString& text, QAccessible::TextBoundaryType type) {
    std::vector<int> cuts{0};
    const int length = static_cast<int>(text.size());
    if (type == QAccessible::CharBoundary || type == QAccessible::WordBoundary ||
        type == QAccessible::SentenceBoundary) {
        const auto kind = type == QAccessible::CharBoundary   ? QTextBoundaryFinder::Grapheme
                          : type == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                              : QTextBoundaryFinder::Sentence;
        QTextBoundaryFinder finder(kind, text);
        for (qsizetype at = finder.toNextBoundary(); at > cuts.back() && at < length; at = finder.toNextBoundary())
            cuts.push_back(static_cast<int>(at));
    }
    if (length > 0) cuts.push_back(length);
    return cuts;
}

enum class Side { Before, At, After };

// The unit at the offset or beside it, as its text and its offsets.
QString UnitText(const QString& text, QAccessible::TextBoundaryType type, int offset, Side side, int* start,
                 int* end) {
    const int length = static_cast<int>(text.size());
    *start = *end = -1;
    if (offset < 0 || offset > length) return {};
    const std::vector<int> cuts = Cuts(text, type);
    const int last = static_cast<int>(cuts.size()) - 1;  // the units are [cuts[i], cuts[i + 1])
    int unit = static_cast<int>(std::upper_bound(cuts.begin(), cuts.end(), offset) - cuts.begin()) - 1;
    if (unit == last && type != QAccessible::CharBoundary && last > 0) --unit;
    unit += side == Side::Before ? -1 : side == Side::After ? 1 : 0;
    if (unit < 0 || unit >= last) {
        *start = *end = unit < 0 ? 0 : length;
        return {};
    }
    *start = cuts[unit];
    *end = cuts[unit + 1];
    return text.mid(*start, *end - *start);
}

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
    // Qt 6.4's own answers for these never return for a word at the end
    // of the text.
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        return UnitText(Shown(), type, offset, Side::At, start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        return UnitText(Shown(), type, offset, Side::Before, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        return UnitText(Shown(), type, offset, Side::After, start, end);
    }
    // The whole text is one run, in the edit's one font and colour.
    QString attributes(int offset, int* start, int* end) const override {
        const int length = characterCount();
        const bool inside = offset >= 0 && offset <= length;
        *start = inside ? 0 : -1;
        *end = inside ? length : -1;
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
