#include "app/p_flash.h"

#include "app/shell.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

QPixmap splash_picture() {
    QPixmap picture(400, 219);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ground(0, 0, 400, 219);
    ground.setColorAt(0, QColor(0x5b, 0x21, 0x8f));
    ground.setColorAt(1, QColor(0x2e, 0x0b, 0x52));
    p.fillRect(picture.rect(), ground);

    QPainterPath arrow;
    arrow.moveTo(40, 100);
    arrow.lineTo(150, 30);
    arrow.lineTo(150, 72);
    arrow.lineTo(360, 72);
    arrow.lineTo(360, 128);
    arrow.lineTo(150, 128);
    arrow.lineTo(150, 170);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(0xff, 0xff, 0xff, 160), 3));
    p.setBrush(QColor(0xf2, 0xc9, 0x4c));
    p.drawPath(arrow);

    QFont title("Sans Serif", 20, QFont::Bold);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 176, 392, 40), Qt::AlignRight | Qt::AlignVCenter, APP_TITLE);
    return picture;
}

Tflash::Tflash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setFixedSize(400, 219);
    auto* flash = new QLabel(this);
    flash->setObjectName("flash");
    flash->setPixmap(splash_picture());
    flash->setGeometry(0, 0, 400, 219);
}
