#pragma once
// What every window of the program shares: its title and its font.

#include "platform/fonts.h"

#include <QString>

// The caption of the messages about encoder errors and of the application.
inline const QString APP_TITLE = QStringLiteral("Tolvane");
inline const QString MAIN_CAPTION = QStringLiteral("Tolvane V3.9.5");
