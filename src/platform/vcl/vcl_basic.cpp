// Labels, buttons, check boxes, edits and masked edits.
#include <QCheckBox>
#include <cctype>
#include <QEvent>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>

#include "vcl_internal.h"
#include "vcl_widgets.h"

using namespace vcl::detail;

// ---- TLabel

// The label's own handling of a new font drops the size it measured in
// the old one: only then is the text measured again, so that no size is
// ever taken (and kept, below) from the font before.
void LabelWidget::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange && fontChanged) fontChanged();
}

TLabel::TLabel(TComponent* AOwner) : TControl(AOwner, new LabelWidget) {
    auto* label = static_cast<LabelWidget*>(FWidget);
    // Cut off with the control's guard, as its events are.
    label->fontChanged = [this, guard = QPointer<QObject>(FGuard)] {
        if (guard) Fit();
    };
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FMouseClicks = true;
    FWidth = 65;
    FHeight = 17;
    SetWidgetGeometry();
}

// Measuring a caption lays its text out, the dearest part of making a
// label, and a window holds many labels of one text and font (a table's
// "Off" in every row): a size once measured is kept for that text, font
// and alignment.
namespace {

struct CaptionKey {
    QFont font;
    QString text;
    int alignment;
    bool operator==(const CaptionKey& o) const {
        return alignment == o.alignment && text == o.text && font == o.font;
    }
};

size_t qHash(const CaptionKey& k, size_t seed = 0) { return qHashMulti(seed, k.font, k.text, k.alignment); }

}  // namespace

static QSize CaptionSize(const QLabel* label) {
    static QHash<CaptionKey, QSize> sizes;
    CaptionKey key{label->font(), label->text(), static_cast<int>(label->alignment())};
    auto known = sizes.constFind(key);
    if (known != sizes.constEnd()) return *known;
    if (sizes.size() >= 4096) sizes.clear();  // captions that show values change without end
    QSize s = label->sizeHint();
    sizes.insert(key, s);
    return s;
}

void TLabel::Fit() {
    if (!FAutoSize || Loading()) return;
    auto* label = static_cast<QLabel*>(FWidget);
    if (FWordWrap) {
        int h = label->heightForWidth(std::max(1, FWidth));
        SetBounds(FLeft, FTop, FWidth, h > 0 ? h : label->sizeHint().height());
    } else {
        QSize s = CaptionSize(label);
        if (FCaption.empty()) s.setWidth(0);
        SetBounds(FLeft, FTop, s.width(), s.height());
    }
}

void TLabel::ApplyCaption() {
    static_cast<QLabel*>(FWidget)->setText(ToQString(FCaption));
    Fit();
}

void TLabel::ApplyFont() {
    TControl::ApplyFont();
    Fit();
}

void TLabel::SetAutoSize(bool on) {
    FAutoSize = on;
    Fit();
}

void TLabel::SetWordWrap(bool on) {
    FWordWrap = on;
    static_cast<QLabel*>(FWidget)->setWordWrap(on);
    Fit();
}

void TLabel::SetAlignment(TAlignment a) {
    FAlignment = a;
    Qt::Alignment h = a == taCenter ? Qt::AlignHCenter : a == taRightJustify ? Qt::AlignRight : Qt::AlignLeft;
    auto* label = static_cast<QLabel*>(FWidget);
    label->setAlignment(h | (label->alignment() & Qt::AlignVertical_Mask));
}

void TLabel::Loaded() { Fit(); }

void TLabel::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "AutoSize") SetAutoSize(v.AsBool());
    else if (name == "WordWrap") SetWordWrap(v.AsBool());
    else if (name == "Alignment")
        SetAlignment(static_cast<TAlignment>(EnumValue(v, {"taLeftJustify", "taRightJustify", "taCenter"})));
    else if (name == "Layout") {
        int l = EnumValue(v, {"tlTop", "tlCenter", "tlBottom"});
        auto* label = static_cast<QLabel*>(FWidget);
        Qt::Alignment vert = l == 0 ? Qt::AlignTop : l == 1 ? Qt::AlignVCenter : Qt::AlignBottom;
        label->setAlignment((label->alignment() & Qt::AlignHorizontal_Mask) | vert);
    } else if (name == "Transparent" || name == "ShowAccelChar") v.AsBool();
    else TControl::ReadProperty(name, v);
}

bool TLabel::SetEvent(const String& name, const TMethod& handler) { return TControl::SetEvent(name, handler); }

// ---- TButton

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner, new QPushButton) {
    auto* button = static_cast<QPushButton*>(FWidget);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, FGuard, [this] { DispatchEvent([this] { Click(); }); });
    FWidth = 75;
    FHeight = 25;
    SetWidgetGeometry();
}

static TForm* ParentForm(TControl* c) {
    for (TControl* p = c; p; p = p->Parent())
        if (auto* f = dynamic_cast<TForm*>(p)) return f;
    return nullptr;
}

// As the framework does it: the button's modal result goes to its form
// first, then OnClick runs (it may still change the form's result).
void TButton::Click() {
    if (!EffectivelyEnabled()) return;
    if (ModalResult != 0)
        if (TForm* form = ParentForm(this)) form->SetModalResult(ModalResult);
    if (OnClick) OnClick(this);
}

void TButton::SetDefault(bool on) {
    FDefault = on;
    static_cast<QPushButton*>(FWidget)->setDefault(on);
}

void TButton::ApplyCaption() { static_cast<QPushButton*>(FWidget)->setText(ToQString(FCaption)); }

void TButton::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "Default") SetDefault(v.AsBool());
    else if (name == "Cancel") v.AsBool();
    else if (name == "ModalResult") {
        if (v.kind == DfmValue::Ident)
            ModalResult = EnumValue(v, {"mrNone", "mrOk", "mrCancel", "mrAbort", "mrRetry", "mrIgnore", "mrYes", "mrNo"});
        else
            ModalResult = IntValue(v);
    } else TWinControl::ReadProperty(name, v);
}

bool TButton::SetEvent(const String& name, const TMethod& handler) { return TWinControl::SetEvent(name, handler); }

// ---- TCheckBox

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner, new QCheckBox) {
    auto* box = static_cast<QCheckBox*>(FWidget);
    // Code changes the widget with its signals blocked: a signal is the user's.
    QObject::connect(box, &QCheckBox::stateChanged, FGuard, [this](int state) {
        DispatchEvent([this, state] {
            SetState(state == Qt::Checked ? cbChecked : state == Qt::PartiallyChecked ? cbGrayed : cbUnchecked);
        });
    });
    FWidth = 97;
    FHeight = 17;
    SetWidgetGeometry();
}

void TCheckBox::SetState(TCheckBoxState s) {
    auto* box = static_cast<QCheckBox*>(FWidget);
    if (s != static_cast<TCheckBoxState>(box->checkState() == Qt::Checked ? cbChecked
                                         : box->checkState() == Qt::PartiallyChecked ? cbGrayed : cbUnchecked)) {
        QSignalBlocker block(box);
        if (s == cbGrayed) box->setTristate(true);
        box->setCheckState(s == cbChecked ? Qt::Checked : s == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
    }
    if (s == FState) return;
    FState = s;
    if (OnClick) OnClick(this);
}

void TCheckBox::Click() {
    if (!EffectivelyEnabled()) return;
    SetChecked(!Checked());
}

void TCheckBox::ApplyCaption() { static_cast<QCheckBox*>(FWidget)->setText(ToQString(FCaption)); }

void TCheckBox::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "Checked") SetChecked(v.AsBool());
    else if (name == "State") SetState(static_cast<TCheckBoxState>(EnumValue(v, {"cbUnchecked", "cbChecked", "cbGrayed"})));
    else if (name == "AllowGrayed") static_cast<QCheckBox*>(FWidget)->setTristate(v.AsBool());
    else if (name == "Alignment") {
        int a = EnumValue(v, {"taLeftJustify", "taRightJustify"});
        FWidget->setLayoutDirection(a == 0 ? Qt::RightToLeft : Qt::LeftToRight);
    } else TWinControl::ReadProperty(name, v);
}

bool TCheckBox::SetEvent(const String& name, const TMethod& handler) { return TWinControl::SetEvent(name, handler); }

// ---- TEdit

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner, new QLineEdit) {
    auto* edit = static_cast<QLineEdit*>(FWidget);
    QObject::connect(edit, &QLineEdit::textChanged, FGuard, [this] { DispatchEvent([this] { TextEdited(); }); });
    FMouseClicks = true;
    FWidth = 121;
    FHeight = 21;
    SetWidgetGeometry();
}

String TEdit::Text() const { return FromQString(static_cast<QLineEdit*>(FWidget)->text()); }

void TEdit::SetText(const String& s) {
    auto* edit = static_cast<QLineEdit*>(FWidget);
    {
        QSignalBlocker block(edit);
        edit->setText(ToQString(s));
    }
    TextEdited();  // from code: a handler's exception goes to the caller
}

void TEdit::TextEdited() {
    String text = Text();
    if (text == FLastText) return;
    FLastText = text;
    if (OnChange) OnChange(this);
}

void TEdit::SetReadOnly(bool on) {
    FReadOnly = on;
    static_cast<QLineEdit*>(FWidget)->setReadOnly(on);
}

void TEdit::SetMaxLength(int n) { static_cast<QLineEdit*>(FWidget)->setMaxLength(n > 0 ? n : 32767); }

void TEdit::KeyPress(char key) {
    if (OnKeyPress) OnKeyPress(this, key);
    if (key) TypeChar(key);
}

void TEdit::TypeChar(char key) {
    if (FReadOnly) return;
    auto* edit = static_cast<QLineEdit*>(FWidget);
    if (key == 8) edit->backspace();
    else if (static_cast<unsigned char>(key) >= 32) edit->insert(QString(QChar(key)));
}

void TEdit::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "Text") SetText(v.AsString());
    else if (name == "ReadOnly") SetReadOnly(v.AsBool());
    else if (name == "MaxLength") SetMaxLength(IntValue(v));
    else if (name == "AutoSelect") SetAutoSelect(v.AsBool());
    else if (name == "AutoSize") v.AsBool();
    else TWinControl::ReadProperty(name, v);
}

bool TEdit::WidgetEvent(QObject* watched, QEvent* event) {
    if (watched == FWidget && event->type() == QEvent::FocusIn && FAutoSelect && FocusEnters(event)) {
        // The edit takes the focus in its own way first (a masked one puts
        // the caret on its first empty place), then all is selected.
        TWinControl::WidgetEvent(watched, event);
        static_cast<QObject*>(FWidget)->event(event);
        static_cast<QLineEdit*>(FWidget)->selectAll();
        return true;
    }
    return TWinControl::WidgetEvent(watched, event);
}

bool TEdit::SetEvent(const String& name, const TMethod& handler) {
    if (name == "OnChange") return BindEvent(handler, OnChange);
    return TWinControl::SetEvent(name, handler);
}

// ---- TMaskEdit

TMaskEdit::TMaskEdit(TComponent* AOwner) : TEdit(AOwner) {}

static bool FitsPlace(char c, char place) {
    unsigned char u = static_cast<unsigned char>(c);
    switch (place) {
        case '0':
        case '9': return std::isdigit(u);
        case '#': return std::isdigit(u) || c == '+' || c == '-';
        case 'L':
        case 'l': return std::isalpha(u);
        case 'A':
        case 'a': return std::isalnum(u);
        default: return u >= 32;
    }
}

// "00,000;1;_": the mask, whether literals are kept in the text, and the
// character shown for an empty place.
void TMaskEdit::SetEditMask(const String& mask) {
    FEditMask = mask;
    String part = mask;
    FSaveLiterals = true;
    FBlank = '_';
    size_t last = part.rfind(';');
    if (last != String::npos && last > 0 && part[last - 1] != '\\') {
        size_t prev = part.rfind(';', last - 1);
        if (prev != String::npos && (prev == 0 || part[prev - 1] != '\\')) {
            if (last + 1 < part.size()) FBlank = part[last + 1];
            FSaveLiterals = part.substr(prev + 1, last - prev - 1) != "0";
            part = part.substr(0, prev);
        } else {
            FSaveLiterals = part.substr(last + 1) != "0";
            part = part.substr(0, last);
        }
    }
    FPlaces.clear();
    QString qt;
    for (size_t i = 0; i < part.size(); ++i) {
        char c = part[i];
        switch (c) {
            case '0': qt += '9'; FPlaces += c; break;  // required digit
            case '9': qt += '0'; FPlaces += c; break;  // optional digit
            case '#': qt += '#'; FPlaces += c; break;
            case 'L': qt += 'A'; FPlaces += c; break;
            case 'l': qt += 'a'; FPlaces += c; break;
            case 'A': qt += 'N'; FPlaces += c; break;
            case 'a': qt += 'n'; FPlaces += c; break;
            case 'C': qt += 'X'; FPlaces += c; break;
            case 'c': qt += 'x'; FPlaces += c; break;
            case '>': qt += '>'; break;
            case '<':
                if (i + 1 < part.size() && part[i + 1] == '>') {
                    qt += '!';
                    ++i;
                } else {
                    qt += '<';
                }
                break;
            case '!': break;
            case '\\':
                if (i + 1 < part.size()) c = part[++i];
                [[fallthrough]];
            default:
                if (c == '_') c = ' ';
                if (QString("AaNnXx90Dd#HhBb><![]{}\\;").contains(QChar(c))) qt += '\\';
                qt += QChar(c);
                FPlaces += ' ';
                break;
        }
    }
    auto* edit = static_cast<QLineEdit*>(FWidget);
    {
        QSignalBlocker block(edit);
        edit->setInputMask(FPlaces.empty() ? QString() : qt + ";" + QChar(FBlank));
    }
    TextEdited();
}

String TMaskEdit::Text() const {
    if (FPlaces.empty()) return TEdit::Text();
    QString shown = static_cast<QLineEdit*>(FWidget)->displayText();
    String text;
    for (size_t i = 0; i < FPlaces.size(); ++i) {
        QChar c = static_cast<qsizetype>(i) < shown.size() ? shown[static_cast<qsizetype>(i)] : QChar(FBlank);
        if (FPlaces[i] == ' ') {
            if (FSaveLiterals) text += FromQString(QString(c));
        } else {
            text += c == QChar(FBlank) ? String(" ") : FromQString(QString(c));
        }
    }
    return text;
}

// Each character goes to its place; a blank or an unfitting one leaves
// the place empty, so "" empties every place.
void TMaskEdit::SetText(const String& s) {
    if (FPlaces.empty()) {
        TEdit::SetText(s);
        return;
    }
    auto* edit = static_cast<QLineEdit*>(FWidget);
    {
        QSignalBlocker block(edit);
        edit->clear();
        size_t from = 0;
        for (size_t i = 0; i < FPlaces.size(); ++i) {
            if (FPlaces[i] == ' ') {
                if (FSaveLiterals) ++from;
                continue;
            }
            if (from >= s.size()) break;
            char c = s[from++];
            if (c == ' ' || c == FBlank || !FitsPlace(c, FPlaces[i])) continue;
            edit->setCursorPosition(static_cast<int>(i));
            edit->insert(QString(QChar(c)));
        }
        edit->setCursorPosition(0);
    }
    TextEdited();
}

void TMaskEdit::KeyPress(char key) { TEdit::KeyPress(key); }

void TMaskEdit::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "EditMask") SetEditMask(v.AsString());
    else if (name == "MaxLength" && !FPlaces.empty()) IntValue(v);  // the mask sets the length
    else TEdit::ReadProperty(name, v);
}
