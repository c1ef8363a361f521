// Drawing of panels' bevels, bevel lines and pictures.
#include <QFile>
#include <QPainter>

#include "vcl_internal.h"
#include "vcl_widgets.h"

namespace vcl::detail {

// One pixel of frame: top and left in one colour, bottom and right in the
// other; the rectangle shrinks by the frame.
static void Frame3D(QPainter& p, QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    p.setPen(topLeft);
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom());
    p.setPen(bottomRight);
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    r.adjust(1, 1, -1, -1);
}

static void Bevel(QPainter& p, QRect& r, TBevelCut cut, const QPalette& pal) {
    if (cut == bvNone) return;
    QColor light = pal.color(QPalette::Light), dark = pal.color(QPalette::Dark);
    if (cut == bvRaised) Frame3D(p, r, light, dark);
    else if (cut == bvLowered) Frame3D(p, r, dark, light);
    else r.adjust(1, 1, -1, -1);
}

void PanelWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QRect r = rect();
    Bevel(p, r, outer, palette());
    Bevel(p, r, inner, palette());
}

void BevelWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QColor shadow = palette().color(QPalette::Dark), light = palette().color(QPalette::Light);
    QRect r = rect();
    int w = r.width(), h = r.height();
    switch (shape) {
        case bsBox: Frame3D(p, r, shadow, light); break;
        case bsFrame: {
            QRect outerRect(0, 0, w - 1, h - 1), innerRect(1, 1, w - 1, h - 1);
            p.setPen(shadow);
            p.drawRect(outerRect.adjusted(0, 0, -1, -1));
            p.setPen(light);
            p.drawRect(innerRect.adjusted(0, 0, -1, -1));
            break;
        }
        case bsTopLine:
            p.setPen(shadow);
            p.drawLine(0, 0, w - 1, 0);
            p.setPen(light);
            p.drawLine(0, 1, w - 1, 1);
            break;
        case bsBottomLine:
            p.setPen(shadow);
            p.drawLine(0, h - 2, w - 1, h - 2);
            p.setPen(light);
            p.drawLine(0, h - 1, w - 1, h - 1);
            break;
        case bsLeftLine:
            p.setPen(shadow);
            p.drawLine(0, 0, 0, h - 1);
            p.setPen(light);
            p.drawLine(1, 0, 1, h - 1);
            break;
        case bsRightLine:
            p.setPen(shadow);
            p.drawLine(w - 2, 0, w - 2, h - 1);
            p.setPen(light);
            p.drawLine(w - 1, 0, w - 1, h - 1);
            break;
        case bsSpacer: break;
    }
}

int GroupFrameWidget::FrameTop() const { return fontMetrics().height() / 2; }

void GroupFrameWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    QRect text(8, 0, title().isEmpty() ? 0 : fontMetrics().horizontalAdvance(title()), fontMetrics().height());
    p.setClipRegion(QRegion(rect()).subtracted(QRegion(text)));  // the caption breaks the line
    QRect frame(0, FrameTop(), width() - 1, height() - FrameTop() - 1);
    p.setPen(pal.color(QPalette::Dark));
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    p.setPen(pal.color(QPalette::Light));
    p.drawRect(frame.adjusted(1, 1, 0, 0));
    if (text.isEmpty()) return;
    p.setClipping(false);
    p.setPen(pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title());
}

void UpDownWidget::PlaceButtons() {
    if (!first || !second) return;
    const int w = width(), h = height();
    if (horizontal) {
        first->setGeometry(0, 0, w / 2, h);
        second->setGeometry(w / 2, 0, w - w / 2, h);
    } else {
        second->setGeometry(0, 0, w, h / 2);
        first->setGeometry(0, h / 2, w, h - h / 2);
    }
}

void ImageWidget::paintEvent(QPaintEvent*) {
    if (image.isNull()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (stretch) p.drawImage(rect(), image);
    else p.drawImage(QPoint(0, 0), image);
}

}  // namespace vcl::detail

using namespace vcl::detail;

// ---- TBevel

TBevel::TBevel(TComponent* AOwner) : TControl(AOwner, new BevelWidget) {
    FWidget->setAttribute(Qt::WA_TransparentForMouseEvents);
    FWidth = 50;
    FHeight = 50;
    SetWidgetGeometry();
}

void TBevel::SetShape(TBevelShape s) {
    FShape = s;
    static_cast<BevelWidget*>(FWidget)->shape = s;
    FWidget->update();
}

void TBevel::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "Shape")
        SetShape(static_cast<TBevelShape>(EnumValue(
            v, {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"})));
    else if (name == "Style") EnumValue(v, {"bsLowered", "bsRaised"});
    else TControl::ReadProperty(name, v);
}

// ---- TImage

TImage::TImage(TComponent* AOwner) : TControl(AOwner, new ImageWidget) {
    FMouseClicks = true;
    FWidth = 105;
    FHeight = 105;
    SetWidgetGeometry();
}

void TImage::SetStretch(bool on) {
    FStretch = on;
    static_cast<ImageWidget*>(FWidget)->stretch = on;
    FWidget->update();
}

// Any format Qt reads without plug-ins beyond the base set: PNG, BMP, XPM,
// XBM, PBM/PGM/PPM, and JPEG, GIF, ICO through the base plug-ins.
void TImage::LoadPicture(const String& resource) {
    QImage image(ToQString(resource));
    if (image.isNull()) {
        if (!QFile::exists(ToQString(resource))) throw EResourceError("no picture " + resource);
        throw EResourceError("cannot read the picture " + resource);
    }
    FPicture = resource;
    static_cast<ImageWidget*>(FWidget)->image = image;
    FWidget->update();
}

void TImage::ReadProperty(const String& name, const DfmValue& v) {
    if (name == "Stretch") SetStretch(v.AsBool());
    else if (name == "Picture") LoadPicture(v.AsString());
    else if (name == "Center" || name == "Proportional" || name == "Transparent" || name == "AutoSize") v.AsBool();
    else TControl::ReadProperty(name, v);
}
