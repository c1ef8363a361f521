// String lists, component ownership, event dispatch, fonts and colours.
#include "vcl_classes.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLocale>
#include <QPalette>
#include <algorithm>
#include <cmath>

#include "vcl_forms.h"
#include "vcl_internal.h"

// ---- TStrings

void TStrings::SetString(int index, const String& s) {
    FItems.at(static_cast<size_t>(index)) = s;
    Reset();
}

int TStrings::Add(const String& s) {
    FItems.push_back(s);
    int index = Count() - 1;
    Added(index);
    return index;
}

void TStrings::Clear() {
    FItems.clear();
    Reset();
}

void TStrings::Delete(int index) {
    if (index < 0 || index >= Count()) throw Exception("List index out of bounds (" + std::to_string(index) + ")");
    FItems.erase(FItems.begin() + index);
    Reset();
}

int TStrings::IndexOf(const String& s) const {
    auto it = std::find(FItems.begin(), FItems.end(), s);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TStrings::Assign(const TStrings& other) {
    if (&other == this) return;
    FItems = other.FItems;
    Reset();
}

void TStrings::SetItems(std::vector<String> items) {
    FItems = std::move(items);
    Reset();
}

String TStrings::Text() const {
    String text;
    for (const String& s : FItems) {
        text += s;
        text += "\n";
    }
    return text;
}

// ---- TComponent

TComponent::TComponent(TComponent* AOwner) : FOwner(AOwner) {
    if (FOwner) FOwner->FComponents.push_back(this);
}

TComponent::~TComponent() {
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
    // A component may free others it owns or parents, so take one at a time.
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        c->FOwner = nullptr;
        FComponents.pop_back();
        delete c;
    }
}

void TComponent::RemoveComponent(TComponent* c) {
    // Components usually go in reverse order of creation: search from the end.
    for (size_t i = FComponents.size(); i-- > 0;) {
        if (FComponents[i] == c) {
            FComponents.erase(FComponents.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

TComponent* TComponent::FindComponent(const String& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (c->FName.size() == name.size() &&
            std::equal(name.begin(), name.end(), c->FName.begin(),
                       [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                                   std::tolower(static_cast<unsigned char>(b)); }))
            return c;
    return nullptr;
}

// ---- events

void DispatchEvent(const std::function<void()>& handler) {
    try {
        handler();
    } catch (...) {
        if (Application) Application->HandleException();
    }
}

char DecimalSeparator() {
    QString point = QLocale().decimalPoint();
    if (point.size() == 1 && point[0].unicode() < 0x80) return static_cast<char>(point[0].unicode());
    return '.';
}

// ---- fonts and colours

int TFont::Size() const {
    int h = Height < 0 ? -Height : Height;
    return static_cast<int>(std::lround(h * 72.0 / 96.0));
}

void TFont::SetSize(int points) { Height = -static_cast<int>(std::lround(points * 96.0 / 72.0)); }

namespace vcl::detail {

// The framework's dialog font is a narrow sans; the layouts are made for
// its widths. A sans with Arial's widths comes closest, when there is one.
static QString DialogFamily() {
    static const QString family = [] {
        for (const char* name : {"Liberation Sans", "Arial", "Nimbus Sans", "Helvetica", "FreeSans"})
            if (QFontDatabase::hasFamily(name)) return QString(name);
        return QApplication::font().family();
    }();
    return family;
}

QFont ToQFont(const TFont& f) {
    QFont font = QApplication::font();
    if (f.Name.empty() || f.Name == "MS Sans Serif" || f.Name == "Microsoft Sans Serif" || f.Name == "MS Shell Dlg" ||
        f.Name == "MS Shell Dlg 2" || f.Name == "Tahoma" || !QFontDatabase::hasFamily(ToQString(f.Name)))
        font.setFamily(DialogFamily());
    else
        font.setFamily(ToQString(f.Name));
    int px = f.Height < 0 ? -f.Height : f.Height;
    if (px > 0) font.setPixelSize(px);
    font.setBold((f.Style & fsBold) != 0);
    font.setItalic((f.Style & fsItalic) != 0);
    font.setUnderline((f.Style & fsUnderline) != 0);
    font.setStrikeOut((f.Style & fsStrikeOut) != 0);
    return font;
}

QColor ToQColor(TColor c) {
    if (c & 0x80000000u) {
        QPalette p = QApplication::palette();
        switch (c & 0xFF) {
            case 5: return p.color(QPalette::Base);            // clWindow
            case 8: return p.color(QPalette::WindowText);      // clWindowText
            case 15: return p.color(QPalette::Button);         // clBtnFace
            case 16: return p.color(QPalette::Dark);           // clBtnShadow
            case 18: return p.color(QPalette::ButtonText);     // clBtnText
            case 20: return p.color(QPalette::Light);          // clBtnHighlight
            case 13: return p.color(QPalette::Highlight);      // clHighlight
            case 14: return p.color(QPalette::HighlightedText);
            case 17: return p.color(QPalette::Disabled, QPalette::Text);  // clGrayText
            case 24: return p.color(QPalette::ToolTipBase);    // clInfoBk
            case 23: return p.color(QPalette::ToolTipText);    // clInfoText
            default: return p.color(QPalette::Window);
        }
    }
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

}  // namespace vcl::detail
