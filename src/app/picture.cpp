#include "app/p_main.h"

#include <QMouseEvent>
#include <QPainter>

TPicture::TPicture(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPicture::FillBlack() {
    canvas_.fill(Qt::black);
    update();
}

void TPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), canvas_);
}

void TPicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit OnClick();
}

void TPicture::resizeEvent(QResizeEvent*) {
    if (canvas_.size() != size()) {
        canvas_ = QPixmap(size());
        canvas_.fill(Qt::black);
    }
}
