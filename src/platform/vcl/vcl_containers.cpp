// Controls that hold others: group boxes, radio groups, panels, scroll
// boxes, page controls and their tab sheets.
#include <QAccessible>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>

#include "vcl_internal.h"
#include "vcl_widgets.h"

using namespace vcl::detail;

// Runs action after every resize of widget, for as long as the control
// whose guard is given lives.
static void OnResize(QObject* guard, QWidget* widget, std::function<void()> action) {
    auto* watcher = new ControlGuard([widget, action = std::move(action)](QObject* o, QEvent* e) {
        if (o == widget && e->type() == QEvent::Resize) action();
        return false;
    });
    watcher->setParent(guard);
    widget->installEventFilter(watcher);
}

// ---- TGroupBox

TGroupBox::TGroupBox(TComponent* AOwner) : TWinControl(AOwner, new GroupFrameWidget) {
    FWidth = 185;
    FHeight = 105;
    SetWidgetGeometry();
}

QWidget* TGroupBox::ClientWidget() const { return FWidget; }

void TGroupBox::ApplyCaption() { static_cast<QGroupBox*>(FWidget)->setTitle(ToQString(FCaption)); }

// ---- TRadioGroup

class TRadioGroup::TItems : public TStrings {
public:
    explicit TItems(TRadioGroup* group) : FGroup(group) {}

protected:
    void Added(int) override { FGroup->Rebuild(); }
    void Reset() override { FGroup->Rebuild(); }

private:
    TRadioGroup* FGroup;
};

TRadioGroup::TRadioGroup(TComponent* AOwner) : TGroupBox(AOwner), FItems(new TItems(this)) {
    OnResize(FGuard, FWidget, [this] { Arrange(); });
}

TRadioGroup::~TRadioGroup() { delete FItems; }

TStrings& TRadioGroup::Items() { return *FItems; }

static QList<QRadioButton*> Buttons(QWidget* w) {
    return w->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
}

void TRadioGroup::Rebuild() {
    QList<QRadioButton*> buttons = Buttons(FWidget);
    while (buttons.size() > FItems->Count()) delete buttons.takeLast();
    for (int i = 0; i < FItems->Count(); ++i) {
        QRadioButton* b;
        if (i < buttons.size()) {
            b = buttons[i];
        } else {
            // An exclusive radio button, as assistive technology sees it
            // too: a click, Space or the accessible action checks it.
            b = new QRadioButton(FWidget);
            QObject::connect(b, &QRadioButton::toggled, FGuard, [this, i](bool on) {
                if (!on) return;
                DispatchEvent([this, i] {
                    if (EffectivelyEnabled()) SetItemIndex(i);
                    CheckButtons();
                });
            });
            Watch(b);
            if (FWidget->isVisible()) b->show();
        }
        b->setText(ToQString((*FItems)[i]));
    }
    if (!FLoadingIndex) FItemIndex = std::min(FItemIndex, FItems->Count() - 1);
    CheckButtons();
    Arrange();
}

// Exclusive buttons refuse to clear the checked one: each is set on its
// own, its signals blocked (a signal is the user's choice).
void TRadioGroup::CheckButtons() {
    QList<QRadioButton*> buttons = Buttons(FWidget);
    for (int i = 0; i < buttons.size(); ++i) {
        QSignalBlocker block(buttons[i]);
        buttons[i]->setAutoExclusive(false);
        buttons[i]->setChecked(i == FItemIndex);
        buttons[i]->setAutoExclusive(true);
    }
}

QWidget* TRadioGroup::TabTarget() const {
    QList<QRadioButton*> buttons = Buttons(FWidget);
    if (buttons.isEmpty()) return nullptr;
    return buttons[FItemIndex >= 0 && FItemIndex < buttons.size() ? FItemIndex : 0];
}

// The arrow keys move to the next or previous item, round the group, and
// select it.
bool TRadioGroup::WidgetEvent(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched != FWidget) {
        QList<QRadioButton*> buttons = Buttons(FWidget);
        int at = static_cast<int>(buttons.indexOf(static_cast<QRadioButton*>(watched)));
        int key = static_cast<QKeyEvent*>(event)->key();
        int step = key == Qt::Key_Down || key == Qt::Key_Right ? 1 : key == Qt::Key_Up || key == Qt::Key_Left ? -1 : 0;
        if (at >= 0 && step != 0) {
            int n = static_cast<int>(buttons.size());
            int next = (at + step + n) % n;
            buttons[next]->setFocus(Qt::OtherFocusReason);
            DispatchEvent([this, next] {
                if (EffectivelyEnabled()) SetItemIndex(next);
            });
            return true;
        }
    }
    return TGroupBox::WidgetEvent(watched, event);
}

// The framework's arrangement: columns of equal width, the rows sharing
// the height below the caption.
void TRadioGroup::Arrange() {
    QList<QRadioButton*> buttons = Buttons(FWidget);
    if (buttons.isEmpty()) return;
    int columns = std::max(1, FColumns);
    int perColumn = (static_cast<int>(buttons.size()) + columns - 1) / columns;
    int textHeight = QFontMetrics(FWidget->font()).height();
    int buttonWidth = (FWidth - 10) / columns;
    int room = FHeight - textHeight - 5;
    int buttonHeight = std::max(1, room / perColumn);
    int topMargin = textHeight + 1 + (room % perColumn) / 2;
    for (int i = 0; i < buttons.size(); ++i) {
        int left = (i / perColumn) * buttonWidth + 8;
        int top = (i % perColumn) * buttonHeight + topMargin;
        buttons[i]->setGeometry(left, top, std::max(0, buttonWidth), buttonHeight);
    }
}

// Another item runs OnClick; the same item, or no item, runs nothing.
void TRadioGroup::SetItemIndex(int index) {
    if (index >= FItems->Count()) index = FItems->Count() - 1;
    if (index < -1) index = -1;
    if (index == FItemIndex) return;
    FItemIndex = index;
    CheckButtons();
    if (FItemIndex >= 0 && OnClick) OnClick(this);
}

void TRadioGroup::SetColumns(int n) {
    FColumns = std::max(1, n);
    Arrange();
}

void TRadioGroup::Loaded() {
    FLoadingIndex = false;
    FItemIndex = std::clamp(FItemIndex, -1, FItems->Count() - 1);
    CheckButtons();
}

void TRadioGroup::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "Items.Strings") FItems->SetItems(v.AsList());
    else if (name == "ItemIndex") {
        FItemIndex = IntValue(v);  // the items may follow: checked in Loaded
        FLoadingIndex = true;
        CheckButtons();
    } else if (name == "Columns") SetColumns(IntValue(v));
    else TWinControl::ReadProperty(name, v);
}

bool TRadioGroup::SetEvent(const String& name, const TMethod& handler) { return TWinControl::SetEvent(name, handler); }

// ---- TPanel

TPanel::TPanel(TComponent* AOwner) : TWinControl(AOwner, new PanelWidget) {
    auto* text = new QLabel(FWidget);
    text->setAlignment(Qt::AlignCenter);
    text->setTextFormat(Qt::PlainText);
    text->setAttribute(Qt::WA_TransparentForMouseEvents);
    FText = text;
    FMouseClicks = true;
    OnResize(FGuard, FWidget, [this] { FText->setGeometry(FWidget->rect()); });
    FWidth = 185;
    FHeight = 41;
    SetWidgetGeometry();
}

void TPanel::ApplyCaption() {
    static_cast<QLabel*>(FText)->setText(ToQString(FCaption));
    FText->lower();
}

void TPanel::SetBevelInner(TBevelCut b) {
    FBevelInner = b;
    static_cast<PanelWidget*>(FWidget)->inner = b;
    FWidget->update();
}

void TPanel::SetBevelOuter(TBevelCut b) {
    FBevelOuter = b;
    static_cast<PanelWidget*>(FWidget)->outer = b;
    FWidget->update();
}

void TPanel::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "BevelInner") SetBevelInner(static_cast<TBevelCut>(EnumValue(v, {"bvNone", "bvLowered", "bvRaised", "bvSpace"})));
    else if (name == "BevelOuter") SetBevelOuter(static_cast<TBevelCut>(EnumValue(v, {"bvNone", "bvLowered", "bvRaised", "bvSpace"})));
    else if (name == "BevelWidth" || name == "BorderWidth") IntValue(v);
    else if (name == "Alignment") {
        int a = EnumValue(v, {"taLeftJustify", "taRightJustify", "taCenter"});
        static_cast<QLabel*>(FText)->setAlignment(
            (a == 0 ? Qt::AlignLeft : a == 1 ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignVCenter);
    } else TWinControl::ReadProperty(name, v);
}

// ---- TScrollBox

TScrollBox::TScrollBox(TComponent* AOwner) : TWinControl(AOwner, new QScrollArea), FInner(new QWidget) {
    auto* area = static_cast<QScrollArea*>(FWidget);
    area->setFocusPolicy(Qt::NoFocus);  // Tab visits the children only
    area->setWidgetResizable(false);
    FInner->resize(0, 0);
    area->setWidget(FInner);
    FWidth = 185;
    FHeight = 41;
    SetWidgetGeometry();
}

QWidget* TScrollBox::ClientWidget() const { return FInner; }

void TScrollBox::InsertControl(TControl* c) { TWinControl::InsertControl(c); }

void TScrollBox::RemoveControl(TControl* c) {
    TWinControl::RemoveControl(c);
    ScheduleRecompute();
}

// The scrolled area holds every visible child. Growing is immediate and
// costs nothing per child; a move that may shrink the area is settled once
// by a full pass when control returns to the event loop.
void TScrollBox::ChildMoved(TControl* c) {
    if (c->FVisible) Extend(c);
    ScheduleRecompute();
}

void TScrollBox::Extend(TControl* c) {
    int right = c->FLeft + std::max(0, c->FWidth), bottom = c->FTop + std::max(0, c->FHeight);
    if (right <= FRangeW && bottom <= FRangeH) return;
    FRangeW = std::max(FRangeW, right);
    FRangeH = std::max(FRangeH, bottom);
    ResizeInner();
}

void TScrollBox::ScheduleRecompute() {
    if (FRecomputePending) return;
    FRecomputePending = true;
    QTimer::singleShot(0, FInner, [this] { RecomputeRange(); });
}

void TScrollBox::RecomputeRange() {
    FRecomputePending = false;
    int w = 0, h = 0;
    for (TControl* c : FControls) {
        if (!c->FVisible) continue;
        w = std::max(w, c->FLeft + std::max(0, c->FWidth));
        h = std::max(h, c->FTop + std::max(0, c->FHeight));
    }
    if (w == FRangeW && h == FRangeH) return;
    FRangeW = w;
    FRangeH = h;
    ResizeInner();
}

void TScrollBox::ResizeInner() { FInner->resize(FRangeW, FRangeH); }

int TScrollBox::VertScrollPosition() const {
    return static_cast<QScrollArea*>(FWidget)->verticalScrollBar()->value();
}

void TScrollBox::SetVertScrollPosition(int y) {
    static_cast<QScrollArea*>(FWidget)->verticalScrollBar()->setValue(y);
}

// ---- TPageControl and TTabSheet

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner, new QTabWidget) {
    Watch(static_cast<QTabWidget*>(FWidget)->tabBar());
    FWidth = 289;
    FHeight = 193;
    SetWidgetGeometry();
}

// The tabs as the framework's: a click on a tab gives the keyboard to the
// page control itself (its tab shows the focus), taken before the page
// changes, so that no control of the new page takes it; Left and Right
// then go from page to page (the tab bar's own keys). The wheel over the
// tabs does nothing. As the tabs take the keyboard, a screen reader is
// told which page shows: the current tab takes the focus, after the news
// of the tab list's own focus (as the tab bar tells of a new page).
bool TPageControl::WidgetEvent(QObject* watched, QEvent* event) {
    if (QTabBar* bar = static_cast<QTabWidget*>(FWidget)->tabBar(); watched == bar) {
        if (event->type() == QEvent::Wheel) {
            event->accept();
            return true;
        }
        if (event->type() == QEvent::FocusIn && QAccessible::isActive())
            QTimer::singleShot(0, bar, [bar] {
                if (!bar->hasFocus() || bar->currentIndex() < 0) return;
                QAccessibleEvent focus(bar, QAccessible::Focus);
                focus.setChild(bar->currentIndex());
                QAccessible::updateAccessibility(&focus);
            });
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            SetFocus();
    }
    return TWinControl::WidgetEvent(watched, event);
}

void TPageControl::InsertControl(TControl* c) {
    auto* page = dynamic_cast<TTabSheet*>(c);
    if (!page) {
        TWinControl::InsertControl(c);
        return;
    }
    FControls.push_back(c);
    FPages.push_back(page);
    if (c->FParentFont) c->FFont = FFont;
    static_cast<QTabWidget*>(FWidget)->addTab(page->Widget(), ToQString(page->Caption()));
    if (!FPendingActive.empty() && page->Name() == FPendingActive) SetActivePage(page);
}

void TPageControl::RemoveControl(TControl* c) {
    auto it = std::find(FPages.begin(), FPages.end(), c);
    if (it != FPages.end()) {
        FPages.erase(it);
        auto* tabs = static_cast<QTabWidget*>(FWidget);
        int index = tabs->indexOf(c->FWidget);
        if (index >= 0) tabs->removeTab(index);
    }
    TWinControl::RemoveControl(c);
}

// The page control is a tab stop of its own (its tabs); of its pages only
// the one shown is visited.
void TPageControl::AppendTabSequence(std::vector<TWinControl*>& out) {
    TWinControl::AppendTabSequence(out);
    if (TTabSheet* page = ActivePage()) page->AppendTabSequence(out);
}

TTabSheet* TPageControl::ActivePage() const {
    QWidget* current = static_cast<QTabWidget*>(FWidget)->currentWidget();
    for (TTabSheet* p : FPages)
        if (p->Widget() == current) return p;
    return nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (!page || std::find(FPages.begin(), FPages.end(), page) == FPages.end()) return;
    static_cast<QTabWidget*>(FWidget)->setCurrentWidget(page->Widget());
}

// ActivePage names a tab sheet that the resource may define later.
void TPageControl::Loaded() {
    if (FPendingActive.empty()) return;
    String name = FPendingActive;
    FPendingActive.clear();
    for (TTabSheet* p : FPages) {
        if (p->Name() == name) {
            SetActivePage(p);
            return;
        }
    }
    throw EResourceError("ActivePage " + name + " is not a page of " + Name());
}

void TPageControl::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "ActivePage") FPendingActive = v.AsIdent();
    else if (name == "TabIndex") static_cast<QTabWidget*>(FWidget)->setCurrentIndex(IntValue(v));
    else if (name == "MultiLine") v.AsBool();
    else TWinControl::ReadProperty(name, v);
}

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner, new QWidget) {}

TPageControl* TTabSheet::PageControl() const { return dynamic_cast<TPageControl*>(FParent); }

void TTabSheet::SetBounds(int left, int top, int width, int height) {
    if (!PageControl()) {
        TWinControl::SetBounds(left, top, width, height);
        return;
    }
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
}

void TTabSheet::ApplyCaption() {
    if (TPageControl* pc = PageControl()) {
        auto* tabs = static_cast<QTabWidget*>(pc->Widget());
        int index = tabs->indexOf(FWidget);
        if (index >= 0) tabs->setTabText(index, ToQString(FCaption));
    }
}
