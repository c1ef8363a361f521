// Qt widgets drawn by the component layer itself: panels with bevels,
// bevel lines and pictures.
#pragma once

#include <QImage>
#include <QWidget>

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

}  // namespace vcl::detail
