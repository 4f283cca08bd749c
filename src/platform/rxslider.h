#pragma once
// The segment slider: an integer Value kept inside MinValue..MaxValue. Setting Value
// clamps; a MaxValue not above MinValue is ignored; a narrowed range pushes the value back
// in; OnChange is raised only when the stored value really changes, by code or by the user
// (thumb drag, track click, arrow keys, in steps of Increment).

#include <QWidget>

class QSlider;

class TRxSlider : public QWidget {
    Q_OBJECT
  public:
    explicit TRxSlider(QWidget* parent = nullptr);

    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    int Value() const { return value_; }
    int Increment() const { return increment_; }
    void SetMinValue(int v);
    void SetMaxValue(int v);
    void SetValue(int v);
    void SetIncrement(int v);

  signals:
    void OnChange();

  private:
    QSlider* slider_;
    int min_ = 0;
    int max_ = 100;
    int value_ = 0;
    int increment_ = 1;
    void store(int v);
};
