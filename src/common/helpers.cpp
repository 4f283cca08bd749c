#include "common/helpers.h"

#include "common/helpers_rules.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPixmap>
#include <QStandardPaths>

QString system_folder() {
    const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
    if (ffmpeg.isEmpty())
        return {};
    QString folder = QFileInfo(ffmpeg).absolutePath();
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

QString program_folder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

void draw_fitted(QPixmap& canvas, const QImage& bitmap) {
    if (bitmap.width() * bitmap.height() == 0)
        return;
    const Edges fitted =
        fit_rect({0, 0, bitmap.width(), bitmap.height()}, {0, 0, canvas.width(), canvas.height()});
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(
        QRect(fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top),
        bitmap);
}
