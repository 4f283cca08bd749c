#pragma once
// A picture shown fitted in the widget, with a rubber-band rectangle selection in frame
// pixels. Right and bottom are the last column and row of the selection; all four are 0
// while nothing is selected.

#include <QImage>
#include <QRect>
#include <QWidget>

enum class TSelectionBase { iesbClientArea, iesbBitmap };

class TImageEnView : public QWidget {
    Q_OBJECT
  public:
    explicit TImageEnView(QWidget* parent = nullptr);

    bool LoadImageFile(const QString& path);
    const QImage& Image() const { return image_; }

    int SelectionLeft() const { return sel_.left; }
    int SelectionTop() const { return sel_.top; }
    int SelectionRight() const { return sel_.right; }
    int SelectionBottom() const { return sel_.bottom; }
    bool HasSelection() const { return sel_.right != 0 || sel_.bottom != 0; }

    TSelectionBase SelectionBase = TSelectionBase::iesbClientArea;
    // Selects from (x1, y1) up to but excluding (x2, y2), in frame pixels when SelectionBase
    // is iesbBitmap; kept inside the frame; an empty rectangle is ignored; crossed corners are
    // put in order. Raises no signal.
    void SelectRect(int x1, int y1, int x2, int y2);
    void Deselect();

    // Where the picture is drawn inside the widget.
    QRect PictureRect() const;
    // The frame pixel under a widget point, clamped into the frame.
    QPoint FramePixelAt(QPoint widgetPoint) const;
    QPoint WidgetPointOf(QPoint framePixel) const;

  signals:
    void OnSelectionChanging(); // while the user drags
    void OnSelectionChange();   // when the drag ends

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    struct Edges {
        int left = 0, top = 0, right = 0, bottom = 0;
    };
    QImage image_;
    Edges sel_;
    bool dragging_ = false;
    QPoint anchor_;
    void selectBetween(QPoint a, QPoint b);
    QRectF pictureRectF() const;
    QPoint frameAt(QPointF widgetPoint) const;
};
