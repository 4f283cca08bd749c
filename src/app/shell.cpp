#include "app/shell.h"

#include <QFontDatabase>
#include <QStringList>

QFont program_font() {
    QFont font(QFontDatabase::families().contains("Verdana") ? QStringLiteral("Verdana")
                                                             : QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}
