#pragma once
// What every window of the program shares: its title and its font.

#include <QFont>
#include <QString>

// The caption of the messages about encoder errors and of the application.
inline const QString APP_TITLE = QStringLiteral("Tolvane");
inline const QString MAIN_CAPTION = QStringLiteral("Tolvane V3.9.5");

// Verdana 8 point where it is installed, else the system's sans font at the same size.
QFont program_font();
