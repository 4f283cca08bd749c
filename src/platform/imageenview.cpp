#include "platform/imageenview.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

const QColor background(40, 40, 40);

} // namespace

TImageEnView::TImageEnView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::CrossCursor);
}

bool TImageEnView::LoadImageFile(const QString& path) {
    QImage loaded;
    if (!loaded.load(path))
        return false;
    image_ = loaded.convertToFormat(QImage::Format_RGB32);
    dragging_ = false;
    const int w = image_.width(), h = image_.height();
    if (HasSelection() && (sel_.right >= w || sel_.bottom >= h)) {
        sel_.left = std::min(sel_.left, w - 1);
        sel_.right = std::min(sel_.right, w - 1);
        sel_.top = std::min(sel_.top, h - 1);
        sel_.bottom = std::min(sel_.bottom, h - 1);
    }
    update();
    return true;
}

void TImageEnView::SelectRect(int x1, int y1, int x2, int y2) {
    if (image_.isNull() || x1 == x2 || y1 == y2)
        return;
    if (SelectionBase == TSelectionBase::iesbClientArea) {
        // The frame pixels under the screen pixels from the low corner to the high one.
        const QPoint first = FramePixelAt({std::min(x1, x2), std::min(y1, y2)});
        const QPoint last = FramePixelAt({std::max(x1, x2) - 1, std::max(y1, y2) - 1});
        x1 = first.x();
        y1 = first.y();
        x2 = last.x() + 1;
        y2 = last.y() + 1;
    }
    const int w = image_.width(), h = image_.height();
    x1 = std::clamp(x1, 0, w - 1);
    y1 = std::clamp(y1, 0, h - 1);
    x2 = std::clamp(x2, 0, w);
    y2 = std::clamp(y2, 0, h);
    if (x1 == x2 || y1 == y2)
        return;
    sel_ = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) - 1, std::max(y1, y2) - 1};
    update();
}

void TImageEnView::Deselect() {
    sel_ = {};
    update();
}

QRectF TImageEnView::pictureRectF() const {
    if (image_.isNull() || width() <= 0 || height() <= 0)
        return {};
    const qint64 iw = image_.width(), ih = image_.height();
    // Exact quotients, so that a picture that fills one side fills it to the last pixel.
    double w = width(), h = height();
    if (qint64(width()) * ih <= qint64(height()) * iw)
        h = double(ih * width()) / double(iw);
    else
        w = double(iw * height()) / double(ih);
    return {(width() - w) / 2, (height() - h) / 2, w, h};
}

QRect TImageEnView::PictureRect() const {
    return pictureRectF().toAlignedRect();
}

QPoint TImageEnView::frameAt(QPointF widgetPoint) const {
    const QRectF r = pictureRectF();
    if (r.isEmpty())
        return {};
    // The pointer stands for the centre of the screen pixel it is on.
    const double fx = std::floor((widgetPoint.x() + 0.5 - r.left()) * image_.width() / r.width());
    const double fy = std::floor((widgetPoint.y() + 0.5 - r.top()) * image_.height() / r.height());
    return {int(std::clamp(fx, 0.0, double(image_.width() - 1))),
            int(std::clamp(fy, 0.0, double(image_.height() - 1)))};
}

QPoint TImageEnView::FramePixelAt(QPoint widgetPoint) const {
    return frameAt(widgetPoint);
}

QPoint TImageEnView::WidgetPointOf(QPoint framePixel) const {
    const QRectF r = pictureRectF();
    if (r.isEmpty())
        return {};
    const double x = r.left() + (framePixel.x() + 0.5) * r.width() / image_.width();
    const double y = r.top() + (framePixel.y() + 0.5) * r.height() / image_.height();
    return {int(std::floor(x)), int(std::floor(y))};
}

void TImageEnView::selectBetween(QPoint a, QPoint b) {
    if (a == b)
        sel_ = {};
    else
        sel_ = {std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()),
                std::max(a.y(), b.y())};
    update();
}

void TImageEnView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background);
    const QRectF r = pictureRectF();
    if (r.isEmpty())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(r, image_);
    if (!HasSelection())
        return;
    const double sx = r.width() / image_.width(), sy = r.height() / image_.height();
    const QRectF band(QPointF(r.left() + sel_.left * sx, r.top() + sel_.top * sy),
                      QPointF(r.left() + (sel_.right + 1) * sx, r.top() + (sel_.bottom + 1) * sy));
    const QRectF outline = band.adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(Qt::white, 0));
    painter.drawRect(outline);
    painter.setPen(QPen(Qt::black, 0, Qt::DashLine));
    painter.drawRect(outline);
}

void TImageEnView::mousePressEvent(QMouseEvent* event) {
    if (image_.isNull() || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    dragging_ = true;
    anchor_ = frameAt(event->position());
    selectBetween(anchor_, anchor_);
    emit OnSelectionChanging();
}

void TImageEnView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    selectBetween(anchor_, frameAt(event->position()));
    emit OnSelectionChanging();
}

void TImageEnView::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    selectBetween(anchor_, frameAt(event->position()));
    emit OnSelectionChange();
}

#include "moc_imageenview.cpp"
