#include "platform/fonts.h"

#include <QFontDatabase>

QFont program_font(int pointSize) {
    const QString verdana = QStringLiteral("Verdana");
    QFont font = QFontDatabase::hasFamily(verdana)
                     ? QFont(verdana)
                     : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    return font;
}
