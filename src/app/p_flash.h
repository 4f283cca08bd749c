#pragma once
// The splash window shown while the program starts.

#include <QWidget>

class Tflash : public QWidget {
    Q_OBJECT
  public:
    Tflash();
};

// The product artwork: a large arrow pointing left on a purple ground, 400 x 219.
QPixmap splash_picture();
