#pragma once
// Follows a reverse job through the texts of its progress dialog: every change of
// `Label1` is stamped with the time since the watch began, and so is the dialog's closing.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QVector>

class Tbatchaudioc;
class Tmain;

struct StageMark {
    QString label; // the dialog's text from this moment on
    qint64 ns = 0; // since the watch began
};

// The job's stages, in the order they run.
enum class Stage { Extraction, AudioReversal, Renaming, Assembly, Cleanup, Other };
inline constexpr int kStageCount = 6;
const char* stage_name(Stage stage);
// The stage a text of the dialog belongs to.
Stage stage_of_label(const QString& label);

class StageWatch : public QObject {
  public:
    // Starts the clock at once.
    StageWatch(Tmain& main, Tbatchaudioc& dialog);

    qint64 elapsedNs() const { return clock_.nsecsElapsed(); }
    const QVector<StageMark>& marks() const { return marks_; }
    qint64 closedNs() const { return closedNs_; } // -1 until the dialog has closed
    // Seconds spent in each stage, from the start to the closing (or to now); the time
    // before the first text counts as extraction.
    QVector<double> stageSeconds() const;

  private:
    void check();
    Tbatchaudioc& dialog_;
    QElapsedTimer clock_;
    QString last_;
    QVector<StageMark> marks_;
    qint64 closedNs_ = -1;
};
