#include "app/p_main.h"

#include <QMouseEvent>
#include <QPainter>

TPicture::TPicture(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QPixmap& TPicture::Canvas() {
    // The canvas takes the control's size, also before the control is first shown.
    if (canvas_.size() != size()) {
        canvas_ = QPixmap(size());
        canvas_.fill(Qt::black);
    }
    return canvas_;
}

void TPicture::FillBlack() {
    Canvas().fill(Qt::black);
    update();
}

void TPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), Canvas());
}

void TPicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit OnClick();
}
