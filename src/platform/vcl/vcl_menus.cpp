// Main menus, menu items and the file dialogs.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <algorithm>

#include "modal.h"
#include "vcl_internal.h"

using namespace vcl::detail;

// ---- TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
    // The framework frees an item's sub-items with it.
    while (!FItems.empty()) {
        TMenuItem* child = FItems.back();
        FItems.pop_back();
        child->FParentItem = nullptr;
        child->FMenu = nullptr;
        delete child;
    }
    std::vector<TMenuItem*>* siblings = FParentItem ? &FParentItem->FItems : FMenu ? &FMenu->FItems : nullptr;
    if (siblings) {
        auto it = std::find(siblings->begin(), siblings->end(), this);
        if (it != siblings->end()) siblings->erase(it);
    }
    delete static_cast<QObject*>(FAction);
}

void TMenuItem::SetCaption(const String& s) {
    FCaption = s;
    Changed();
}

void TMenuItem::Add(TMenuItem* item) {
    item->FParentItem = this;
    item->SetMenuDeep(FMenu);
    FItems.push_back(item);
    Changed();
}

void TMenuItem::SetEnabled(bool on) {
    FEnabled = on;
    if (auto* menu = qobject_cast<QMenu*>(static_cast<QObject*>(FAction))) menu->menuAction()->setEnabled(on);
    else if (auto* action = static_cast<QAction*>(FAction)) action->setEnabled(on);
}

void TMenuItem::Click() {
    if (!FEnabled) return;
    if (OnClick) OnClick(this);
}

void TMenuItem::SetMenuDeep(TMainMenu* menu) {
    FMenu = menu;
    for (TMenuItem* child : FItems) child->SetMenuDeep(menu);
}

void TMenuItem::Changed() {
    if (FMenu) FMenu->Rebuild();
}

// The hot key a caption names itself: the character after a single "&"
// ("&&" stands for "&" itself); null when it names none.
static QChar OwnHotkey(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') return caption[i + 1].toUpper();
        ++i;
    }
    return {};
}

// The captions of one menu's items (or of the bar's titles) as shown: with
// automatic hot keys, an item that names none gets the first letter or
// digit of its caption that no sibling has, the earlier sibling first, and
// the hot keys the captions name themselves taken before all of them.
static std::vector<String> ShownCaptions(const std::vector<TMenuItem*>& items, bool automatic) {
    std::vector<String> shown;
    QString taken;
    for (TMenuItem* item : items) {
        QChar own = OwnHotkey(ToQString(item->Caption()));
        if (!own.isNull()) taken += own;
    }
    for (TMenuItem* item : items) {
        QString caption = ToQString(item->Caption());
        if (automatic && item->Caption() != "-" && OwnHotkey(caption).isNull()) {
            for (qsizetype i = 0; i < caption.size(); ++i) {
                if (caption[i] == '&') {
                    ++i;  // "&&": a plain "&"
                    continue;
                }
                if (!caption[i].isLetterOrNumber() || taken.contains(caption[i].toUpper())) continue;
                taken += caption[i].toUpper();
                caption.insert(i, '&');
                break;
            }
        }
        shown.push_back(FromQString(caption));
    }
    return shown;
}

// parentMenu: the QMenuBar or QMenu the item goes into. Every QAction and
// QMenu is the item's own (no Qt parent), freed by the item.
void TMenuItem::Build(void* parentMenu, const String& shown) {
    auto* parent = static_cast<QWidget*>(parentMenu);
    delete static_cast<QObject*>(FAction);
    FAction = nullptr;
    if (!FItems.empty()) {
        auto* menu = new QMenu(ToQString(shown));
        menu->menuAction()->setEnabled(FEnabled);
        parent->addAction(menu->menuAction());
        FAction = menu;
        std::vector<String> captions = ShownCaptions(FItems, !FMenu || FMenu->AutoHotkeys());
        for (size_t i = 0; i < FItems.size(); ++i) FItems[i]->Build(menu, captions[i]);
        return;
    }
    // "-" is a plain separator line: no text of its own to draw or read out.
    bool separator = FCaption == "-";
    auto* action = new QAction(separator ? QString() : ToQString(shown));
    action->setSeparator(separator);
    action->setEnabled(FEnabled);
    QObject::connect(action, &QAction::triggered, action, [this] { DispatchEvent([this] { Click(); }); });
    parent->addAction(action);
    FAction = action;
}

void TMenuItem::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "Caption") SetCaption(v.AsString());
    else if (name == "Enabled") SetEnabled(v.AsBool());
    else if (name == "Visible" || name == "Checked" || name == "RadioItem" || name == "Default") v.AsBool();
    else if (name == "ShortCut" || name == "GroupIndex" || name == "Tag" || name == "ImageIndex") IntValue(v);
    else if (name == "Hint") v.AsString();
    else UnknownProperty(name);
}

bool TMenuItem::SetEvent(const String& name, const TMethod& handler) {
    const TNotifyEvent* h = std::get_if<TNotifyEvent>(&handler);
    if (name != "OnClick" || !h) return false;
    OnClick = *h;
    return true;
}

// ---- TMainMenu

namespace {

// The menu bar shows the title that has the keyboard (after Alt or F10)
// highlighted, as it shows the title of an open menu; the style alone
// shows nothing until the menu opens.
class MenuBarStyle : public QProxyStyle {
public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element == CE_MenuBarItem && item && (item->state & State_Selected) && widget && widget->hasFocus()) {
            QStyleOptionMenuItem highlighted(*item);
            highlighted.state |= State_Sunken;
            QProxyStyle::drawControl(element, &highlighted, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

}  // namespace

QWidget* vcl::detail::NewMenuBar(QWidget* window) {
    auto* bar = new QMenuBar(window);
    auto* style = new MenuBarStyle;
    style->setParent(bar);
    bar->setStyle(style);
    return bar;
}

TMainMenu::TMainMenu(TComponent* AOwner) : TComponent(AOwner) {}

TMainMenu::~TMainMenu() {
    while (!FItems.empty()) {
        TMenuItem* item = FItems.back();
        FItems.pop_back();
        item->FMenu = nullptr;
        delete item;
    }
    if (FForm && FForm->FMenu == this) FForm->SetMenu(nullptr);
}

void TMainMenu::Add(TMenuItem* item) {
    item->FParentItem = nullptr;
    item->SetMenuDeep(this);
    FItems.push_back(item);
    Rebuild();
}

void TMainMenu::Attach(QWidget* menuBar) {
    FMenuBar = menuBar;
    Rebuild();
}

void TMainMenu::Rebuild() {
    if (!FMenuBar) return;
    static_cast<QMenuBar*>(FMenuBar)->clear();
    std::vector<String> captions = ShownCaptions(FItems, FAutoHotkeys);
    for (size_t i = 0; i < FItems.size(); ++i) FItems[i]->Build(FMenuBar, captions[i]);
    if (FForm) FForm->LayoutWindow();
}

void TMainMenu::SetAutoHotkeys(bool automatic) {
    FAutoHotkeys = automatic;
    Rebuild();
}

void TMainMenu::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "AutoHotkeys") SetAutoHotkeys(EnumValue(v, {"maAutomatic", "maManual"}) == 0);
    else if (name == "AutoMerge") v.AsBool();
    else UnknownProperty(name);
}

// ---- file dialogs

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

bool TOpenDialog::Execute() { return vcl::Modal().FileDialog(*this); }

void TOpenDialog::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "Title") Title = v.AsString();
    else if (name == "Filter") Filter = v.AsString();
    else if (name == "InitialDir") InitialDir = v.AsString();
    else if (name == "FileName") FileName = v.AsString();
    else if (name == "DefaultExt") DefaultExt = v.AsString();
    else if (name == "FilterIndex") FilterIndex = IntValue(v);
    else if (name == "Options") v.AsList();
    else UnknownProperty(name);
}
