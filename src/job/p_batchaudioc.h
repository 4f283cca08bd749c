#pragma once
// The progress dialog of a reverse job, and the two job stages that run on it: the audio
// reversal and the frame renaming.

#include <QDialog>
#include <QString>

#include "common/workfolder.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class TAudioTransform2;
class Tmain;

class Tbatchaudioc : public QDialog {
    Q_OBJECT
  public:
    explicit Tbatchaudioc(Tmain* main);

    QLabel* Label1;
    QProgressBar* progresstotal;
    QPushButton* Button1;
    QTimer* Timer_resound_do;
    QTimer* timer_renamefile_do;
    TAudioTransform2* AudioTransform21;
    QString transform_job;

    ProgressControls Controls();

    void Button1Click();
    void Timer_resound_doTimer();
    void AudioTransform21TransformBlock(int percent);
    void AudioTransform21EndTransform();
    void timer_renamefile_doTimer();

  protected:
    void showEvent(QShowEvent* event) override;
    void reject() override; // Esc presses Cancel while it is enabled

  private:
    Tmain* main_;
};
