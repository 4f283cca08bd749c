#pragma once
// The crop area dialog: one frame of the source, on which the user drags the rectangle to keep
// or types its position and size. The rectangle stays in the image view for the whole run.

#include <QDialog>

class QEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TImageEnView;

class Tsetcrop : public QDialog {
    Q_OBJECT
  public:
    explicit Tsetcrop(QWidget* parent = nullptr);

    QLabel* Label1;
    TImageEnView* ImageEnView1;
    QGroupBox* group_number;
    QLabel* Label4;
    QLineEdit* ed_hp;
    QLabel* Label5;
    QLineEdit* ed_vp;
    QLabel* Label2;
    QLineEdit* ed_w;
    QLabel* Label3;
    QLineEdit* ed_h;
    QPushButton* Button1;

    void ImageEnView1SelectionChanging();
    void ImageEnView1SelectionChange();
    void ed_hpChange();
    void ed_vpChange();
    void ed_wChange();
    void ed_hChange();
    void ed_hpExit();
    void ed_vpExit();
    void ed_wExit();
    void ed_hExit();
    // The key filter of the four fields: true when `event` is to be discarded.
    bool ed_KeyPress(const QEvent& event) const;
    void Button1Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    bool centred_ = false;
    bool active(const QLineEdit* field) const;
    bool number(const QLineEdit* field, int& value);
    void select(qint64 x1, qint64 y1, qint64 x2, qint64 y2);
};
