#pragma once
// An integer field with up/down arrows. Value() is the integer of the text, or MinValue when
// the text is not an integer, with no upper limit; SetValue clamps into the range and writes
// decimal text; SetText writes as given. Every text change, by the user or by code, raises
// OnChange (a write of the same text is no change). Typing lets through only digits and
// Backspace, within MaxLength. The arrows step by one from Value() and clamp. When the focus
// leaves, OnExit runs first and then the field clamps its value into the range.

#include <QWidget>

class QEvent;
class QLineEdit;
class TSpinButton;

class TSpinEdit : public QWidget {
    Q_OBJECT
  public:
    TSpinEdit(int minValue, int maxValue, int maxLength, QWidget* parent = nullptr);

    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    int MaxLength() const { return maxLength_; }
    int Value() const;
    void SetValue(int v);
    QString Text() const;
    void SetText(const QString& text);
    QLineEdit* Edit() const { return edit_; }
    TSpinButton* Buttons() const { return buttons_; }

  signals:
    void OnChange();
    void OnExit();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int min_;
    int max_;
    int maxLength_;
    QLineEdit* edit_;
    TSpinButton* buttons_;
    void step(int delta);
};

// The two-stage key filter of the number fields: true when `text` typed as a character
// may reach the field (a digit or Backspace).
bool digit_or_backspace(const QString& text);

// True when `event` would type something a number field discards: a key press whose text is
// not a digit or Backspace (Ctrl-combinations included), or an input-method commit that is not
// all digits. Keys that only move the cursor or the focus, and Delete, pass.
bool number_field_discards(const QEvent& event);

// True when `event` is the focus leaving a field for another control of the window; a menu
// popping up or the window losing the focus does not count.
bool field_left(const QEvent& event);
