#pragma once
// Follows a reverse job through the texts of its progress dialog: every change of
// `Label1` is stamped with the time since the watch began (and the processor time used by
// then), and so is the dialog's closing.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QVector>

class Tbatchaudioc;
class Tmain;

struct StageMark {
    QString label;  // the dialog's text from this moment on
    double at = 0;  // wall seconds since the watch began
    double cpu = 0; // processor seconds of the program and its ended children, from the start
};

// The job's stages, in the order they run.
enum class Stage { Extraction, AudioReversal, Renaming, Assembly, Cleanup, Other };
inline constexpr int kStageCount = 6;
const char* stage_name(Stage stage);
// The stage a text of the dialog belongs to.
Stage stage_of_label(const QString& label);

class StageWatch : public QObject {
  public:
    // Starts the clocks at once.
    StageWatch(Tmain& main, Tbatchaudioc& dialog);

    double elapsed() const { return double(clock_.nsecsElapsed()) / 1e9; }
    const QVector<StageMark>& marks() const { return marks_; }
    // Wall seconds spent in each stage (indexed by Stage), from the start to the dialog's
    // closing (or to now); the time before the first text counts as extraction.
    QVector<double> stageSeconds() const;
    // The same for processor time. A child's time counts once it has ended and been
    // waited for, which each stage's ffmpeg runs are before the next stage's text.
    QVector<double> stageCpuSeconds() const;

  private:
    StageMark now(const QString& label) const;
    void check();
    QVector<double> perStage(double StageMark::*value) const;

    Tbatchaudioc& dialog_;
    QElapsedTimer clock_;
    double cpuStart_ = 0;
    QString last_;
    QVector<StageMark> marks_;
    bool closed_ = false;
    StageMark closing_;
};
