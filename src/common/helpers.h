#pragma once
// Helpers that touch the toolkit or the system.

#include <QImage>
#include <QString>

class QPixmap;

// The folder of the system's programs that holds `ffmpeg` (found on PATH), with a trailing
// separator; empty when there is none.
QString system_folder();
// The folder the program writes in (the per-user cache folder), with a trailing separator.
QString program_folder();
// Draws `bitmap` fitted into the whole of `canvas`; the margins keep what the canvas held.
// An empty bitmap draws nothing.
void draw_fitted(QPixmap& canvas, const QImage& bitmap);
