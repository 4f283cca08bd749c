#pragma once
// The About dialog.

#include <QDialog>

class QLabel;
class QPushButton;

inline const QString HOME_PAGE = QStringLiteral("https://tolvane.org/");

class Tabout : public QDialog {
    Q_OBJECT
  public:
    explicit Tabout(QWidget* parent = nullptr);
    QLabel* ProductName;
    QLabel* LinkLine;
    QLabel* NoticeLine;
    QLabel* LegalLine;
    QPushButton* OKButton;

  protected:
    void showEvent(QShowEvent* event) override;
};

// The notice line for a year: "Copyright (C) Tolvane developers, 2026".
QString about_notice(int year);
