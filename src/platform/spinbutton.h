#pragma once
// An up/down button pair; holding a half down repeats its click.

#include <QWidget>

class QToolButton;

class TSpinButton : public QWidget {
    Q_OBJECT
  public:
    explicit TSpinButton(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {17, 22}; }
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

  signals:
    void OnUpClick();
    void OnDownClick();

  private:
    QToolButton* up_;
    QToolButton* down_;
};
