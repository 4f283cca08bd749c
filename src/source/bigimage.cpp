// The enlarged frame view: the last decoded frame at its real size.
#include "app/p_main.h"
#include "common/helpers_rules.h"

#include <QDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace {

// The picture of the view; a click on it closes the window that holds it.
class ClosingPicture : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        event->accept();
        if (QWidget* form = window(); form && form != this)
            form->close();
    }
};

} // namespace

void Tmain::Image_startClick() {
    split_beginChange();
    showbigimage();
}

void Tmain::image_endClick() {
    split_endChange();
    showbigimage();
}

void Tmain::showbigimage() {
    if (frame_bitmap.width() == 0 || frame_bitmap.height() == 0)
        return;
    QDialog view(this, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::CustomizeWindowHint);
    auto* closer = new QPushButton(&view);
    closer->setGeometry(0, 0, 0, 0);
    closer->setDefault(true);
    connect(closer, &QPushButton::clicked, &view, &QDialog::reject);
    auto* picture = new ClosingPicture(&view);
    picture->setPixmap(QPixmap::fromImage(frame_bitmap));
    picture->setGeometry(0, 0, frame_bitmap.width(), frame_bitmap.height());
    view.setWindowTitle(QString("%1x%2 @ %3")
                            .arg(frame_bitmap.width())
                            .arg(frame_bitmap.height())
                            .arg(timecode_text(Decoder->FramePTS())));
    view.setFixedSize(frame_bitmap.size());
    view.exec();
}
