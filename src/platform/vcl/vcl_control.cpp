// TControl and TWinControl: geometry, parents, fonts, colours, hints,
// clicks, mouse entry, key presses, the wheel and tab order.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QWidget>
#include <algorithm>

#include "vcl_internal.h"
#include "vcl_forms.h"

using namespace vcl::detail;

static TForm* FormOf(const TControl* c) {
    for (TControl* p = const_cast<TControl*>(c); p; p = p->Parent())
        if (auto* f = dynamic_cast<TForm*>(p)) return f;
    return nullptr;
}

// ---- TControl

TControl::TControl(TComponent* AOwner, QWidget* widget)
    : TComponent(AOwner),
      FWidget(widget),
      FGuard(new ControlGuard([this](QObject* o, QEvent* e) { return WidgetEvent(o, e); })) {
    Watch(FWidget);
}

TControl::~TControl() {
    delete FGuard;  // no event or signal reaches this object from now on
    if (FParent) FParent->RemoveControl(this);
    FParent = nullptr;
    delete FWidget;
}

void TControl::Watch(QObject* object) { object->installEventFilter(FGuard); }

void TControl::SetParent(TWinControl* parent) {
    if (parent == FParent) return;
    for (TControl* p = parent; p; p = p->FParent)
        if (p == this) throw Exception("A control cannot be its own parent");
    if (FParent) {
        FParent->RemoveControl(this);
        FParent = nullptr;
    }
    if (parent) {
        FParent = parent;
        parent->InsertControl(this);
    } else {
        ReleaseFocus();
        FWidget->hide();
        FWidget->setParent(nullptr);
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    SetWidgetGeometry();
    if (FParent) FParent->ChildMoved(this);
}

void TControl::SetWidgetGeometry() {
    FWidget->setGeometry(FLeft, FTop, std::max(0, FWidth), std::max(0, FHeight));
}

// A control hidden or disabled while it, or a control inside it, has the
// focus leaves no control focused: the form takes the keyboard itself.
// Nothing scrolls into view, keys change nothing, and Tab starts again
// from the first tab stop. Done before the widget changes: Qt would hand
// the focus on to the next widget of its chain, and a scroll area would
// bring that one into view.
void TControl::ReleaseFocus() {
    QWidget* window = FWidget->window();
    if (window == FWidget) return;
    QWidget* focus = window->focusWidget();
    if (!focus || focus == window || (focus != FWidget && !FWidget->isAncestorOf(focus))) return;
    window->setFocus(Qt::OtherFocusReason);  // also while the window is not active
    if (TForm* form = FormOf(this)) form->FFocusWidget = window;
}

void TControl::SetEnabled(bool on) {
    if (!on) ReleaseFocus();
    FEnabled = on;
    FWidget->setEnabled(on);
}

void TControl::SetVisible(bool on) {
    if (on == FVisible) return;
    if (!on) ReleaseFocus();
    FVisible = on;
    FWidget->setVisible(on);
    if (FParent) FParent->ChildMoved(this);
}

bool TControl::EffectivelyEnabled() const {
    for (const TControl* c = this; c; c = c->FParent)
        if (!c->FEnabled) return false;
    return true;
}

void TControl::SetCaption(const String& s) {
    FCaption = s;
    ApplyCaption();
}

void TControl::SetHint(const String& s) {
    FHint = s;
    FWidget->setToolTip(FShowHint ? ToQString(FHint) : QString());
}

void TControl::SetShowHint(bool on) {
    FShowHint = on;
    FWidget->setToolTip(FShowHint ? ToQString(FHint) : QString());
}

void TControl::SetColor(TColor c) {
    FColor = c;
    ApplyColor();
}

// The palette carries both the control's colour and its font's colour.
void TControl::ApplyColor() {
    QPalette pal;
    if (FColor != clDefault) {
        QColor back = ToQColor(FColor);
        bool edit = FWidget->backgroundRole() == QPalette::Base ||
                    FWidget->inherits("QLineEdit") || FWidget->inherits("QAbstractScrollArea");
        if (edit && !FWidget->inherits("QScrollArea")) {
            pal.setColor(QPalette::Base, back);
        } else {
            pal.setColor(QPalette::Window, back);
            FWidget->setAutoFillBackground(true);
        }
    }
    if (!FParentFont && FFont.Color != clWindowText && FFont.Color != clDefault) {
        QColor text = ToQColor(FFont.Color);
        pal.setColor(QPalette::WindowText, text);
        pal.setColor(QPalette::Text, text);
        pal.setColor(QPalette::ButtonText, text);
    }
    FWidget->setPalette(pal);
}

void TControl::SetFont(const TFont& f) {
    FFont = f;
    FParentFont = false;
    FontChanged();
}

void TControl::SetFontSize(int points) {
    TFont f = FFont;
    f.SetSize(points);
    SetFont(f);
}

void TControl::FontChanged() {
    ApplyFont();
    if (auto* self = dynamic_cast<TWinControl*>(this)) {
        for (TControl* c : self->FControls) {
            if (!c->FParentFont) continue;
            c->FFont = FFont;
            c->FontChanged();
        }
    }
}

void TControl::ApplyFont() {
    if (FParentFont) {
        FWidget->setFont(QFont());
    } else {
        FWidget->setFont(ToQFont(FFont));
    }
    ApplyColor();
}

void TControl::SetCursor(TCursor c) {
    FCursor = c;
    if (c == crHandPoint) FWidget->setCursor(Qt::PointingHandCursor);
    else FWidget->unsetCursor();
}

void TControl::Click() {
    if (!EffectivelyEnabled()) return;
    if (OnClick) OnClick(this);
}

bool TControl::WidgetEvent(QObject* watched, QEvent* event) {
    if (watched != FWidget) return false;
    switch (event->type()) {
        case QEvent::Enter:
            if (OnMouseEnter) DispatchEvent([this] { OnMouseEnter(this); });
            break;
        case QEvent::MouseButtonRelease: {
            if (!FMouseClicks) break;
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::LeftButton && FWidget->rect().contains(me->position().toPoint()))
                DispatchEvent([this] { Click(); });
            break;
        }
        default:
            break;
    }
    return false;
}

void TControl::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "Left") SetLeft(IntValue(v));
    else if (name == "Top") SetTop(IntValue(v));
    else if (name == "Width") SetWidth(IntValue(v));
    else if (name == "Height") SetHeight(IntValue(v));
    else if (name == "Caption") SetCaption(v.AsString());
    else if (name == "Enabled") SetEnabled(v.AsBool());
    else if (name == "Visible") SetVisible(v.AsBool());
    else if (name == "Hint") SetHint(v.AsString());
    else if (name == "ShowHint") SetShowHint(v.AsBool());
    else if (name == "ParentShowHint" || name == "ParentColor" || name == "IsControl") v.AsBool();
    else if (name == "Color") SetColor(ColorValue(v));
    else if (name == "Cursor") SetCursor(EnumValue(v, {"crDefault", "crHandPoint"}) == 1 ? crHandPoint : crDefault);
    else if (name == "Tag") Tag = IntValue(v);
    else if (name == "HelpContext") IntValue(v);
    else if (name == "ParentFont") {
        FParentFont = v.AsBool();
        if (FParentFont && FParent) FFont = FParent->FFont;
        FontChanged();
    } else {
        TFont f = FFont;
        if (!ReadFontProperty(f, name, v)) UnknownProperty(name);
        SetFont(f);
    }
}

bool TControl::SetEvent(const String& name, const TMethod& handler) {
    const TNotifyEvent* notify = std::get_if<TNotifyEvent>(&handler);
    if (!notify) return false;
    if (name == "OnClick") OnClick = *notify;
    else if (name == "OnMouseEnter") OnMouseEnter = *notify;
    else return false;
    return true;
}

// ---- TWinControl

// A windowed control's widget carries the control: the stacking below and
// the accessibility of the controls (vcl_accessible.cpp) find it there.
static const char* const WindowedControl = "vclWindowedControl";

TWinControl::TWinControl(TComponent* AOwner, QWidget* widget) : TControl(AOwner, widget) {
    FWidget->setProperty(WindowedControl, QVariant::fromValue(static_cast<void*>(this)));
}

TWinControl* vcl::detail::WindowedControlOf(const QObject* widget) {
    QVariant v = widget ? widget->property(WindowedControl) : QVariant();
    return v.isValid() ? static_cast<TWinControl*>(v.value<void*>()) : nullptr;
}

TWinControl::~TWinControl() {
    FWidget->setProperty(WindowedControl, QVariant());  // no longer a whole control
    // The framework frees a control's children with it.
    while (!FControls.empty()) {
        TControl* c = FControls.back();
        FControls.pop_back();
        if (c == FLowestWindowed) FLowestWindowed = nullptr;
        c->FParent = nullptr;
        delete c;
    }
}

// A label, bevel or image is drawn on its parent, beneath every windowed
// control there, whatever the order of creation; among themselves they
// keep that order. A windowed control goes on top, so the windowed
// controls lie in the order of FControls and the lowest of them is the
// first there: a label goes just beneath that one.
void TWinControl::StackInParent(TControl* c) {
    const QObjectList& stack = ClientWidget()->children();  // the bottom first
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
        if (stack.last() != c->FWidget) c->FWidget->raise();  // a new child is on top already
        if (!FLowestWindowed) FLowestWindowed = w;
    } else if (FLowestWindowed) {
        c->FWidget->stackUnder(FLowestWindowed->FWidget);
    } else if (stack.last() != c->FWidget) {
        c->FWidget->raise();
    }
}

void TWinControl::FindLowestWindowed() {
    FLowestWindowed = nullptr;
    QWidget* client = ClientWidget();
    for (TControl* c : FControls) {
        auto* w = dynamic_cast<TWinControl*>(c);
        if (w && w->FWidget->parentWidget() == client) {
            FLowestWindowed = w;
            return;
        }
    }
}

void TWinControl::InsertControl(TControl* c) {
    FControls.push_back(c);
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
        FTabList.push_back(w);
        if (!Loading() || w->FTabOrder < 0) w->FTabOrder = static_cast<int>(FTabList.size()) - 1;
    }
    QWidget* client = ClientWidget();
    c->FWidget->setParent(client);
    StackInParent(c);
    c->SetWidgetGeometry();
    if (!c->FVisible) c->FWidget->hide();
    else if (client->isVisible()) c->FWidget->show();
    if (c->FParentFont) c->FFont = FFont;
    ChildMoved(c);
}

void TWinControl::RemoveControl(TControl* c) {
    for (size_t i = FControls.size(); i-- > 0;) {
        if (FControls[i] == c) {
            FControls.erase(FControls.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    if (c == FLowestWindowed) FindLowestWindowed();
    for (size_t i = FTabList.size(); i-- > 0;) {
        if (FTabList[i] == c) {
            FTabList.erase(FTabList.begin() + static_cast<std::ptrdiff_t>(i));
            for (size_t j = i; j < FTabList.size(); ++j) FTabList[j]->FTabOrder = static_cast<int>(j);
            break;
        }
    }
}

void TWinControl::SetTabOrder(int order) {
    if (Loading() || !FParent) {  // a resource's tab orders are sorted out after loading
        FTabOrder = order;
        return;
    }
    std::vector<TWinControl*>& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    size_t pos = order < 0 ? list.size() : std::min(static_cast<size_t>(order), list.size());
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(pos), this);
    for (size_t i = 0; i < list.size(); ++i) list[i]->FTabOrder = static_cast<int>(i);
    FParent->ApplyTabOrder();
}

bool TWinControl::TabStop() const { return (FWidget->focusPolicy() & Qt::TabFocus) != 0; }

void TWinControl::SetTabStop(bool on) {
    FWidget->setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
}

void TWinControl::AppendTabSequence(std::vector<TWinControl*>& out) {
    out.push_back(this);
    for (TWinControl* child : FTabList) child->AppendTabSequence(out);
}

QWidget* TWinControl::TabTarget() const { return TabStop() ? FWidget : nullptr; }

void TWinControl::ApplyTabOrder() {
    for (size_t i = 1; i < FTabList.size(); ++i)
        QWidget::setTabOrder(FTabList[i - 1]->FWidget, FTabList[i]->FWidget);
}

void TWinControl::SetFocus() {
    FWidget->setFocus(Qt::OtherFocusReason);
    if (TForm* form = FormOf(this)) form->FFocusWidget = FWidget;
}

bool TWinControl::FocusEnters(const QEvent* focusIn) const {
    switch (static_cast<const QFocusEvent*>(focusIn)->reason()) {
        case Qt::MouseFocusReason: return false;
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
        case Qt::OtherFocusReason: return true;
        default: {
            TForm* form = FormOf(this);
            return !form || form->FFocusWidget != FWidget;
        }
    }
}

// A window that is not active (hidden, or offscreen in tests) still knows
// which of its controls has the focus.
bool TWinControl::Focused() const {
    if (FWidget->hasFocus()) return true;
    TForm* form = FormOf(this);
    return form && !form->Widget()->isActiveWindow() && form->FFocusWidget == FWidget;
}

int TWinControl::ClientWidth() const { return ClientWidget()->width(); }
int TWinControl::ClientHeight() const { return ClientWidget()->height(); }

// The character a key press types, as the framework's key press event
// sees it; 0 for keys that type none.
static char TypedChar(const QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Escape: return 27;
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return 0;
        default: break;
    }
    QString text = e->text();
    if (text.size() != 1 || text[0].unicode() >= 0x80) return 0;
    char c = static_cast<char>(text[0].unicode());
    return c == 127 ? 0 : c;
}

bool TWinControl::WidgetEvent(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && watched == FWidget && FWheelNeedsFocus) {
        // Not focused: the turn is left for the parents (Qt hands an
        // ignored wheel event on to the parent widget), up to a scroll box.
        QWidget* focus = QApplication::focusWidget();
        if (!focus || (focus != FWidget && !FWidget->isAncestorOf(focus))) {
            event->ignore();
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn && watched == FWidget)
        if (TForm* form = FormOf(this)) form->FFocusWidget = FWidget;
    if (event->type() == QEvent::KeyPress && watched == FWidget && OnKeyPress) {
        // A key that a focused child ignored comes up here too: only the
        // control that had it first answers.
        QWidget* focus = QApplication::focusWidget();
        if (focus && focus != FWidget && FWidget->isAncestorOf(focus)) return false;
        char typed = TypedChar(static_cast<QKeyEvent*>(event));
        if (typed) {
            char key = typed;
            DispatchEvent([&] { OnKeyPress(this, key); });
            if (key == 0) return true;
            if (key != typed) {
                TypeChar(key);
                return true;
            }
        }
    }
    return TControl::WidgetEvent(watched, event);
}

void TWinControl::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "TabOrder") SetTabOrder(IntValue(v));
    else if (name == "TabStop") SetTabStop(v.AsBool());
    else TControl::ReadProperty(name, v);
}

bool TWinControl::SetEvent(const String& name, const TMethod& handler) {
    if (name == "OnKeyPress") return BindEvent(handler, OnKeyPress);
    return TControl::SetEvent(name, handler);
}
