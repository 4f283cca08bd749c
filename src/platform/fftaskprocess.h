#pragma once
// One run of the `ffmpeg` program for one task: its progress as output time, its error
// output, and stopping it ("q", then terminate, then kill).

#include "platform/ffprogress.h"

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <cstdint>

class QTimer;

class FFTaskProcess : public QObject {
    Q_OBJECT
  public:
    struct Outcome {
        bool finished = false; // exit code 0 and not stopped
        bool failed = false;   // ended badly and not stopped
        QString message;       // ffmpeg's error output, or why it ended badly
    };

    // How long a stop waits after "q" before terminating, and after that before killing.
    static constexpr int kGraceMs = 1500;

    FFTaskProcess(int64_t expectedTotal, QObject* parent = nullptr);
    ~FFTaskProcess() override;

    // Starts the process asynchronously; `ended` follows in any case.
    void start(const QString& program, const QStringList& arguments);
    void stop();
    bool hasEnded() const { return ended_; }

  signals:
    // Output time so far, within 0..total, never smaller than the one before.
    void progressed(int64_t current, int64_t total);
    void ended(const FFTaskProcess::Outcome& outcome);

  private:
    void readOutput();
    void readErrors();
    void onFinished(int exitCode, QProcess::ExitStatus status);
    void onError(QProcess::ProcessError error);
    void escalate();
    void finish(Outcome outcome);

    QProcess process_;
    FFProgressReader reader_;
    QByteArray chunk_;  // read buffer, reused
    QByteArray errors_; // ffmpeg's standard error, the tail kept when it grows large
    QTimer* stopTimer_ = nullptr;
    int64_t total_;
    int64_t reported_ = -1;
    int stopStage_ = 0; // 0 running, 1 "q" sent, 2 terminated, 3 killed
    bool ended_ = false;
};
