// Shared pieces of the component layer's implementation (not for users of
// the layer): string conversion, fonts and colours, the event guard, and
// the helpers that read property values of a form resource.
#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QString>

#include "form_resource.h"
#include "vcl_forms.h"

namespace vcl::detail {

inline QString ToQString(const String& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline String FromQString(const QString& s) { return s.toStdString(); }

// The Qt font for a framework font: "MS Sans Serif" (absent on this
// system) becomes the application's sans font; a negative Height is the
// character height in pixels.
QFont ToQFont(const TFont& f);
// A plain colour, or a system colour from the application palette.
QColor ToQColor(TColor c);

// Routes the events of watched objects to TControl::WidgetEvent. It is
// also the context of every signal connection of the control, so that
// deleting it first cuts the control off from Qt.
class ControlGuard : public QObject {
public:
    explicit ControlGuard(std::function<bool(QObject*, QEvent*)> filter)
        : FFilter(std::move(filter)) {}
    bool eventFilter(QObject* watched, QEvent* event) override { return FFilter(watched, event); }

private:
    std::function<bool(QObject*, QEvent*)> FFilter;
};

// The windowed control whose widget this is; null for any other object.
TWinControl* WindowedControlOf(const QObject* widget);

// What assistive technology is told of the controls: installed once with
// the Qt application.
void InstallControlAccessibility();
// The name a control without a caption of its own takes from the labels
// that stand for it on screen; empty when none does.
QString LabelledName(const QWidget* control);

// True while a form resource is being applied.
bool Loading();
class LoadingScope {
public:
    LoadingScope();
    ~LoadingScope();
};

// The modal showing of the form has ended (closed or ModalResult set).
void ModalStateChanged(TForm& form);

// A form's menu bar, in its window.
QWidget* NewMenuBar(QWidget* window);

// Property values of a form resource.
TColor ColorValue(const DfmValue& v);
int IntValue(const DfmValue& v);  // an integer within int's range
TFontStyles FontStylesValue(const DfmValue& v);
// An identifier out of a fixed list (its index); others are refused.
int EnumValue(const DfmValue& v, std::initializer_list<const char*> names);
// Font.Name, Font.Height, Font.Size, Font.Style, Font.Color, Font.Charset:
// true when the name was one of them.
bool ReadFontProperty(TFont& font, const String& name, const DfmValue& v);

[[noreturn]] void UnknownProperty(const String& name);

// Binds a handler from a form resource to an event member when it is of
// the event's type; false otherwise.
template <class Event>
bool BindEvent(const TMethod& handler, Event& event) {
    const Event* h = std::get_if<Event>(&handler);
    if (!h) return false;
    event = *h;
    return true;
}

}  // namespace vcl::detail
