#pragma once
// The program's font: Verdana where it is installed, else the system's sans-serif font.

#include <QFont>

QFont program_font(int pointSize = 8);
