// Combo boxes, list boxes and memos: controls that show a string list.
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleFactory>
#include <algorithm>

#include "vcl_internal.h"

using namespace vcl::detail;

static QStringList ToQList(const std::vector<String>& items) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(items.size()));
    for (const String& s : items) list << ToQString(s);
    return list;
}

// ---- TComboBox

// The application's style, except that a drop-down list opens below its
// box, DropDownCount items tall and scrolling, as the framework's does;
// some styles open the list over the box instead, as tall as every item.
class DropDownBelowStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

// One for every combo box, made with the first; it lives as long as the
// program, like the application's own style.
static QStyle* DropDownStyle() {
    static QStyle* const style = new DropDownBelowStyle(QStyleFactory::create(QApplication::style()->name()));
    return style;
}

class TComboBox::TItems : public TStrings {
public:
    explicit TItems(TComboBox* box) : FBox(box) {}

protected:
    void Added(int index) override {
        auto* w = static_cast<QComboBox*>(FBox->FWidget);
        QSignalBlocker block(w);
        int current = w->currentIndex();
        w->addItem(ToQString((*this)[index]));
        w->setCurrentIndex(current);  // adding selects nothing
    }
    void Reset() override {
        auto* w = static_cast<QComboBox*>(FBox->FWidget);
        QSignalBlocker block(w);
        w->clear();
        w->addItems(ToQList(Items()));
        w->setCurrentIndex(-1);
    }

private:
    TComboBox* FBox;
};

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner, new QComboBox), FItems(new TItems(this)) {
    auto* box = static_cast<QComboBox*>(FWidget);
    box->setCurrentIndex(-1);
    box->setStyle(DropDownStyle());
    box->setMaxVisibleItems(FDropDownCount);
    // Focused by a click or Tab, not by the wheel: an unfocused box passes
    // wheel turns on.
    box->setFocusPolicy(Qt::StrongFocus);
    FWheelNeedsFocus = true;
    QObject::connect(box, &QComboBox::activated, FGuard, [this](int index) {
        DispatchEvent([this, index] { Select(index); });
    });
    FWidth = 145;
    FHeight = 21;
    SetWidgetGeometry();
}

TComboBox::~TComboBox() { delete FItems; }

TStrings& TComboBox::Items() { return *FItems; }

int TComboBox::ItemIndex() const { return static_cast<QComboBox*>(FWidget)->currentIndex(); }

void TComboBox::SetItemIndex(int index) {
    auto* box = static_cast<QComboBox*>(FWidget);
    if (index < 0 || index >= box->count()) index = -1;
    QSignalBlocker block(box);
    box->setCurrentIndex(index);
}

void TComboBox::SetStyle(TComboBoxStyle s) {
    auto* box = static_cast<QComboBox*>(FWidget);
    QSignalBlocker block(box);
    box->setEditable(s != csDropDownList);
}

void TComboBox::SetDropDownCount(int n) {
    FDropDownCount = n;
    static_cast<QComboBox*>(FWidget)->setMaxVisibleItems(std::max(1, n));
}

String TComboBox::Text() const { return FromQString(static_cast<QComboBox*>(FWidget)->currentText()); }

void TComboBox::Select(int index) {
    if (!EffectivelyEnabled()) return;
    SetItemIndex(index);
    if (OnChange) OnChange(this);
}

void TComboBox::Loaded() {
    if (FPendingIndex >= 0) SetItemIndex(FPendingIndex);
    FPendingIndex = -1;
}

void TComboBox::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "Items.Strings") FItems->SetItems(v.AsList());
    else if (name == "ItemIndex") FPendingIndex = IntValue(v);  // the items may follow
    else if (name == "Style") SetStyle(static_cast<TComboBoxStyle>(EnumValue(v, {"csDropDown", "csSimple", "csDropDownList"})));
    else if (name == "DropDownCount") SetDropDownCount(IntValue(v));
    else if (name == "ItemHeight") IntValue(v);
    else if (name == "Text") static_cast<QComboBox*>(FWidget)->setEditText(ToQString(v.AsString()));
    else if (name == "Sorted") v.AsBool();
    else TWinControl::ReadProperty(name, v);
}

bool TComboBox::SetEvent(const String& name, const TMethod& handler) {
    if (name == "OnChange") return BindEvent(handler, OnChange);
    return TWinControl::SetEvent(name, handler);
}

// ---- TListBox

// A hidden list box shows nothing: its widget holds the items only while
// the list box is visible, so assistive technology finds no items (with
// places on screen) in a hidden list, such as a form's message list.
class TListBox::TItems : public TStrings {
public:
    explicit TItems(TListBox* box) : FBox(box) {}
    void Show(bool on) {
        auto* w = static_cast<QListWidget*>(FBox->FWidget);
        w->clear();
        if (on) w->addItems(ToQList(Items()));
    }

protected:
    void Added(int index) override {
        if (FBox->Visible()) static_cast<QListWidget*>(FBox->FWidget)->addItem(ToQString((*this)[index]));
    }
    void Reset() override { Show(FBox->Visible()); }

private:
    TListBox* FBox;
};

TListBox::TListBox(TComponent* AOwner) : TWinControl(AOwner, new QListWidget), FItems(new TItems(this)) {
    FWidth = 121;
    FHeight = 97;
    SetWidgetGeometry();
}

TListBox::~TListBox() { delete FItems; }

TStrings& TListBox::Items() { return *FItems; }

int TListBox::ItemIndex() const {
    return Visible() ? static_cast<QListWidget*>(FWidget)->currentRow() : FItemIndex;
}

void TListBox::SetItemIndex(int index) {
    if (index < 0 || index >= FItems->Count()) index = -1;
    FItemIndex = index;
    if (Visible()) static_cast<QListWidget*>(FWidget)->setCurrentRow(index);
}

void TListBox::SetVisible(bool on) {
    if (on == Visible()) return;
    const int index = ItemIndex();
    FItems->Show(on);
    TWinControl::SetVisible(on);
    SetItemIndex(index);
}

void TListBox::SetItemHeight(int) {}  // rows take the font's height

void TListBox::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "Items.Strings") FItems->SetItems(v.AsList());
    else if (name == "ItemHeight") SetItemHeight(IntValue(v));
    else if (name == "ItemIndex") SetItemIndex(IntValue(v));
    else if (name == "Sorted" || name == "MultiSelect") v.AsBool();
    else TWinControl::ReadProperty(name, v);
}

// ---- TMemo

class TMemo::TLines : public TStrings {
public:
    explicit TLines(TMemo* memo) : FMemo(memo) {}

protected:
    // A new line shows at once, at the end, and is scrolled into view. It
    // is painted on the spot: a log line often reports a step of an
    // exchange that keeps the program busy for seconds, and the user is
    // to see each step as it happens. Painting runs no input event.
    void Added(int index) override {
        auto* w = static_cast<QPlainTextEdit*>(FMemo->FWidget);
        w->appendPlainText(ToQString((*this)[index]));
        w->verticalScrollBar()->setValue(w->verticalScrollBar()->maximum());
        w->viewport()->repaint();
    }
    void Reset() override {
        auto* w = static_cast<QPlainTextEdit*>(FMemo->FWidget);
        QString text = ToQList(Items()).join('\n');
        w->setPlainText(text);
    }

private:
    TMemo* FMemo;
};

TMemo::TMemo(TComponent* AOwner) : TWinControl(AOwner, new QPlainTextEdit), FLines(new TLines(this)) {
    static_cast<QPlainTextEdit*>(FWidget)->setTabChangesFocus(true);  // Tab moves on, as WantTabs is off
    SetScrollBars(ssNone);
    FWidth = 185;
    FHeight = 89;
    SetWidgetGeometry();
}

TMemo::~TMemo() { delete FLines; }

TStrings& TMemo::Lines() { return *FLines; }

void TMemo::SetReadOnly(bool on) {
    FReadOnly = on;
    static_cast<QPlainTextEdit*>(FWidget)->setReadOnly(on);
}

void TMemo::SetScrollBars(TScrollStyle s) {
    auto* w = static_cast<QPlainTextEdit*>(FWidget);
    bool horizontal = s == ssHorizontal || s == ssBoth;
    bool vertical = s == ssVertical || s == ssBoth;
    w->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    w->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    // Without a horizontal bar long lines wrap, as the framework's memo does.
    w->setLineWrapMode(horizontal ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
}

void TMemo::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "Lines.Strings") FLines->SetItems(v.AsList());
    else if (name == "ReadOnly") SetReadOnly(v.AsBool());
    else if (name == "ScrollBars")
        SetScrollBars(static_cast<TScrollStyle>(EnumValue(v, {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"})));
    else if (name == "WordWrap" || name == "WantReturns" || name == "WantTabs") v.AsBool();
    else if (name == "MaxLength") IntValue(v);
    else TWinControl::ReadProperty(name, v);
}
