// Track bars and up-down buttons.
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "vcl_internal.h"
#include "vcl_widgets.h"

using namespace vcl::detail;

// ---- TTrackBar

QRect TrackBarWidget::ThumbRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
}

bool TrackBarWidget::GrowsAlong() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return !option.upsideDown;
}

// The first page step repeats after this many milliseconds of holding the
// button, and then every so many.
static constexpr int PagingDelay = 500;
static constexpr int PagingInterval = 100;

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner, new TrackBarWidget) {
    auto* slider = static_cast<QSlider*>(FWidget);
    // The user's moves reach SetPosition; code changes come with FSyncing set.
    QObject::connect(slider, &QSlider::valueChanged, FGuard, [this](int value) {
        if (FSyncing) return;
        DispatchEvent([this, value] { SetPosition(value); });
    });
    slider->setPageStep(1);
    FPaging = new QTimer(FGuard);
    QObject::connect(FPaging, &QTimer::timeout, FGuard, [this] {
        FPaging->setInterval(PagingInterval);
        DispatchEvent([this] { PageStep(); });
    });
    FWheelNeedsFocus = true;
    FWidth = 150;
    FHeight = 45;
    SetWidgetGeometry();
    Sync();
}

void TTrackBar::Sync() {
    auto* slider = static_cast<QSlider*>(FWidget);
    FSyncing = true;
    slider->setRange(FMin, FMax);
    slider->setValue(FPosition);
    // The tick settings repaint and re-lay out the bar even unchanged.
    if (slider->tickInterval() != std::max(1, FFrequency)) slider->setTickInterval(std::max(1, FFrequency));
    QSlider::TickPosition ticks = QSlider::NoTicks;
    if (FTickStyle != tsNone) {
        bool horizontal = slider->orientation() == Qt::Horizontal;
        if (FTickMarks == tmBoth) ticks = QSlider::TicksBothSides;
        else if (FTickMarks == tmTopLeft) ticks = horizontal ? QSlider::TicksAbove : QSlider::TicksLeft;
        else ticks = horizontal ? QSlider::TicksBelow : QSlider::TicksRight;
    }
    if (slider->tickPosition() != ticks) slider->setTickPosition(ticks);
    FSyncing = false;
}

void TTrackBar::Changed(int oldPosition) {
    if (FPosition != oldPosition && OnChange) OnChange(this);
}

void TTrackBar::SetMin(int v) {
    if (v > FMax) return;  // refused, as the framework's track bar does
    int old = FPosition;
    FMin = v;
    FPosition = std::max(FPosition, FMin);
    Sync();
    Changed(old);
}

void TTrackBar::SetMax(int v) {
    if (v < FMin) return;
    int old = FPosition;
    FMax = v;
    FPosition = std::min(FPosition, FMax);
    Sync();
    Changed(old);
}

void TTrackBar::SetPosition(int v) {
    int old = FPosition;
    FPosition = std::clamp(v, FMin, FMax);
    if (FPosition == old) {
        auto* slider = static_cast<QSlider*>(FWidget);
        if (slider->value() != FPosition) Sync();
        return;
    }
    Sync();
    Changed(old);
}

void TTrackBar::SetFrequency(int f) {
    FFrequency = f;
    Sync();
}

void TTrackBar::SetTickStyle(TTickStyle s) {
    FTickStyle = s;
    Sync();
}

void TTrackBar::SetTickMarks(TTickMark m) {
    FTickMarks = m;
    Sync();
}

void TTrackBar::SetLineSize(int n) { FLineSize = n; }

void TTrackBar::SetPageSize(int n) { FPageSize = n; }

// Where a key moves the bar from its position; false for other keys.
static bool KeyTarget(int key, int position, int min, int max, int line, int page, int& target) {
    long long to;
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Up: to = static_cast<long long>(position) - line; break;
        case Qt::Key_Right:
        case Qt::Key_Down: to = static_cast<long long>(position) + line; break;
        case Qt::Key_PageUp: to = static_cast<long long>(position) - page; break;
        case Qt::Key_PageDown: to = static_cast<long long>(position) + page; break;
        case Qt::Key_Home: to = min; break;
        case Qt::Key_End: to = max; break;
        default: return false;
    }
    target = static_cast<int>(std::clamp<long long>(to, min, max));
    return true;
}

// +PageSize or -PageSize when the point (in the widget) lies beside the
// thumb, on the side of the larger or the smaller values; 0 on the thumb.
int TTrackBar::PageTowards(int x, int y) const {
    auto* slider = static_cast<TrackBarWidget*>(FWidget);
    const QRect thumb = slider->ThumbRect();
    const bool horizontal = slider->orientation() == Qt::Horizontal;
    const int at = horizontal ? x : y;
    const int first = horizontal ? thumb.left() : thumb.top();
    const int last = horizontal ? thumb.right() : thumb.bottom();
    int along = at > last ? 1 : at < first ? -1 : 0;
    if (!slider->GrowsAlong()) along = -along;
    return along * FPageSize;
}

// One step of the held button: none once the thumb has reached the
// pointer (or passed it), or a bound; then the paging ends.
void TTrackBar::PageStep() {
    if (FPagingStep == 0) return;
    if (!EffectivelyEnabled() || PageTowards(FPointerX, FPointerY) != FPagingStep) {
        StopPaging();
        return;
    }
    int old = FPosition;
    try {
        SetPosition(static_cast<int>(std::clamp<long long>(static_cast<long long>(FPosition) + FPagingStep, FMin, FMax)));
    } catch (...) {
        StopPaging();  // the error box is shown once, not once a step
        throw;
    }
    if (FPosition == old) StopPaging();
}

void TTrackBar::StopPaging() {
    FPagingStep = 0;
    FPaging->stop();
}

bool TTrackBar::WidgetEvent(QObject* watched, QEvent* event) {
    if (watched != FWidget) return TWinControl::WidgetEvent(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            // Beside the thumb the bar pages; on the thumb the slider drags it.
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton) break;
            const QPoint at = mouse->position().toPoint();
            int step = PageTowards(at.x(), at.y());
            if (step == 0) break;
            FPointerX = at.x();
            FPointerY = at.y();
            FPagingStep = step;
            FPaging->start(PagingDelay);
            DispatchEvent([this] { PageStep(); });
            return true;
        }
        case QEvent::MouseMove:
            if (FPagingStep == 0) break;
            FPointerX = static_cast<QMouseEvent*>(event)->position().toPoint().x();
            FPointerY = static_cast<QMouseEvent*>(event)->position().toPoint().y();
            return true;
        case QEvent::MouseButtonRelease:
            if (FPagingStep == 0 || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) break;
            StopPaging();
            return true;
        case QEvent::Hide:
            StopPaging();
            break;
        default:
            break;
    }
    if (event->type() == QEvent::KeyPress) {
        int target;
        if (KeyTarget(static_cast<QKeyEvent*>(event)->key(), FPosition, FMin, FMax, FLineSize, FPageSize, target)) {
            DispatchEvent([this, target] {
                if (EffectivelyEnabled()) SetPosition(target);
            });
            return true;
        }
    }
    if (event->type() == QEvent::Wheel) {
        if (TWinControl::WidgetEvent(watched, event)) return true;  // not focused: passed on
        // Focused: each notch (120 eighths of a degree) is one line, a turn
        // away from the user as the Up key, towards the user as Down.
        auto* wheel = static_cast<QWheelEvent*>(event);
        QPoint angle = wheel->angleDelta();
        int delta = angle.y() != 0 ? angle.y() : angle.x();
        if (wheel->inverted()) delta = -delta;
        FWheelTurned += delta;
        int notches = FWheelTurned / 120;
        FWheelTurned -= notches * 120;
        for (int i = 0; i < std::abs(notches); ++i) {
            int target;
            KeyTarget(notches > 0 ? Qt::Key_Up : Qt::Key_Down, FPosition, FMin, FMax, FLineSize, FPageSize, target);
            DispatchEvent([this, target] { SetPosition(target); });
        }
        event->accept();
        return true;
    }
    return TWinControl::WidgetEvent(watched, event);
}

void TTrackBar::SetThumbLength(int) {}  // the style draws the thumb

void TTrackBar::SetOrientation(TTrackBarOrientation o) {
    static_cast<QSlider*>(FWidget)->setOrientation(o == trHorizontal ? Qt::Horizontal : Qt::Vertical);
    Sync();
}

void TTrackBar::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "Min") SetMin(IntValue(v));
    else if (name == "Max") SetMax(IntValue(v));
    else if (name == "Position") SetPosition(IntValue(v));
    else if (name == "Frequency") SetFrequency(IntValue(v));
    else if (name == "ThumbLength") SetThumbLength(IntValue(v));
    else if (name == "PageSize") SetPageSize(IntValue(v));
    else if (name == "LineSize") SetLineSize(IntValue(v));
    else if (name == "TickStyle") SetTickStyle(static_cast<TTickStyle>(EnumValue(v, {"tsNone", "tsAuto", "tsManual"})));
    else if (name == "TickMarks")
        SetTickMarks(static_cast<TTickMark>(EnumValue(v, {"tmBottomRight", "tmTopLeft", "tmBoth"})));
    else if (name == "Orientation")
        SetOrientation(static_cast<TTrackBarOrientation>(EnumValue(v, {"trHorizontal", "trVertical"})));
    else TWinControl::ReadProperty(name, v);
}

bool TTrackBar::SetEvent(const String& name, const TMethod& handler) {
    if (name == "OnChange") return BindEvent(handler, OnChange);
    return TWinControl::SetEvent(name, handler);
}

// ---- TUpDown

static int16_t To16(int v) { return static_cast<int16_t>(std::clamp(v, -32768, 32767)); }

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner, new UpDownWidget) {
    // Two arrow buttons; the first steps down (btPrev), the second up
    // (btNext).
    auto* frame = static_cast<UpDownWidget*>(FWidget);
    for (int i = 0; i < 2; ++i) {
        auto* b = new QToolButton(FWidget);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        TUDBtnType type = i == 0 ? btPrev : btNext;
        QObject::connect(b, &QToolButton::clicked, FGuard, [this, type] {
            DispatchEvent([this, type] { ClickButton(type); });
        });
        (i == 0 ? frame->first : frame->second) = b;
    }
    FWidth = 17;
    FHeight = 25;
    SetWidgetGeometry();
    Arrange();
}

void TUpDown::Arrange() {
    auto* frame = static_cast<UpDownWidget*>(FWidget);
    auto* prev = static_cast<QToolButton*>(frame->first);
    auto* next = static_cast<QToolButton*>(frame->second);
    frame->horizontal = FOrientation == udHorizontal;
    if (frame->horizontal) {
        prev->setArrowType(Qt::LeftArrow);
        next->setArrowType(Qt::RightArrow);
    } else {
        prev->setArrowType(Qt::DownArrow);
        next->setArrowType(Qt::UpArrow);
    }
    frame->PlaceButtons();
}

void TUpDown::SetMin(int v) {
    FMin = To16(v);
    FPosition = std::clamp(FPosition, std::min(FMin, FMax), std::max(FMin, FMax));
}

void TUpDown::SetMax(int v) {
    FMax = To16(v);
    FPosition = std::clamp(FPosition, std::min(FMin, FMax), std::max(FMin, FMax));
}

void TUpDown::SetPosition(int v) {
    FPosition = std::clamp(To16(v), std::min(FMin, FMax), std::max(FMin, FMax));
}

void TUpDown::SetOrientation(TUDOrientation o) {
    FOrientation = o;
    Arrange();
}

void TUpDown::ClickButton(TUDBtnType button) {
    if (!EffectivelyEnabled()) return;
    int lo = std::min(FMin, FMax), hi = std::max(FMin, FMax);
    int step = (button == btNext) == (FMin <= FMax) ? 1 : -1;
    FPosition = static_cast<int16_t>(std::clamp(FPosition + step, lo, hi));
    if (OnClick) OnClick(this, button);
}

void TUpDown::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "Min") SetMin(IntValue(v));
    else if (name == "Max") SetMax(IntValue(v));
    else if (name == "Position") SetPosition(IntValue(v));
    else if (name == "Orientation") SetOrientation(static_cast<TUDOrientation>(EnumValue(v, {"udHorizontal", "udVertical"})));
    else if (name == "Wrap" || name == "ArrowKeys" || name == "Thousands") v.AsBool();
    else if (name == "Increment") IntValue(v);
    else TWinControl::ReadProperty(name, v);
}

bool TUpDown::SetEvent(const String& name, const TMethod& handler) {
    if (name == "OnClick") return BindEvent(handler, OnClick);
    return TWinControl::SetEvent(name, handler);
}
