// Qt widgets drawn by the component layer itself: panels with bevels,
// bevel lines, pictures, group frames, up-down buttons, and the window of
// a form.
#pragma once

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QSlider>
#include <QWidget>
#include <functional>

#include "vcl_controls.h"

namespace vcl::detail {

class PanelWidget : public QWidget {
public:
    TBevelCut inner = bvNone, outer = bvRaised;

protected:
    void paintEvent(QPaintEvent*) override;
};

class BevelWidget : public QWidget {
public:
    TBevelShape shape = bsBox;

protected:
    void paintEvent(QPaintEvent*) override;
};

class ImageWidget : public QWidget {
public:
    QImage image;
    bool stretch = false;

protected:
    void paintEvent(QPaintEvent*) override;
};

// A group box as the framework draws it: an etched frame whose top line
// runs through the middle of the caption, the caption on it.
class GroupFrameWidget : public QGroupBox {
public:
    // Where the top line of the frame runs.
    int FrameTop() const;

protected:
    void paintEvent(QPaintEvent*) override;
};

// A label's window: fontChanged runs once the label has taken a new font,
// its own or its parent's, and measures its text in it.
class LabelWidget : public QLabel {
public:
    std::function<void()> fontChanged;

protected:
    void changeEvent(QEvent* event) override;
};

// An up-down control's window, shared by its two arrow buttons: side by
// side, the first on the left, or one above the other, the first below.
// Placed by hand, as a layout would cost more than the rest of the
// control (a window holds hundreds of these).
class UpDownWidget : public QWidget {
public:
    QWidget* first = nullptr;
    QWidget* second = nullptr;
    bool horizontal = false;
    void PlaceButtons();

protected:
    void resizeEvent(QResizeEvent*) override { PlaceButtons(); }
};

// A track bar's window: where the style draws the thumb, and which way
// along the bar the values grow.
class TrackBarWidget : public QSlider {
public:
    TrackBarWidget() : QSlider(Qt::Horizontal) {}
    QRect ThumbRect() const;
    // True when the values grow from left to right (top to bottom).
    bool GrowsAlong() const;
};

// The top-level window of a form: Tab and Shift+Tab follow the form's own
// tab order (focusNext), not Qt's focus chain.
class FormWindow : public QWidget {
public:
    FormWindow() : QWidget(nullptr, Qt::Window) {}
    std::function<bool(bool next)> focusNext;

protected:
    bool focusNextPrevChild(bool next) override {
        return focusNext ? focusNext(next) : QWidget::focusNextPrevChild(next);
    }
};

}  // namespace vcl::detail
