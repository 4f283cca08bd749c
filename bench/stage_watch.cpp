#include "stage_watch.h"

#include "app/p_main.h"
#include "job/p_batchaudioc.h"

#include "cpu_time.h"

#include <QAbstractEventDispatcher>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>

const char* stage_name(Stage stage) {
    switch (stage) {
    case Stage::Extraction:
        return "extraction";
    case Stage::AudioReversal:
        return "audio reversal";
    case Stage::Renaming:
        return "renaming";
    case Stage::Assembly:
        return "assembly";
    case Stage::Cleanup:
        return "clean-up";
    case Stage::Other:
        break;
    }
    return "other";
}

Stage stage_of_label(const QString& label) {
    if (label == "Analyzing video, please wait......" || label == "Reverse Video Header......")
        return Stage::Extraction;
    if (label == "Reverse Audio Header......")
        return Stage::AudioReversal;
    if (label == "Reverse Video Container......")
        return Stage::Renaming;
    if (label == "Reverse Video Content......")
        return Stage::Assembly;
    if (label == "Gather Video and Audio Stream Information")
        return Stage::Cleanup;
    return Stage::Other;
}

StageWatch::StageWatch(Tmain& main, Tbatchaudioc& dialog) : dialog_(dialog) {
    last_ = dialog.Label1->text();
    // QLabel has no change signal: the text is read after everything that can change it
    // (each stage's timer, each progress report, each bar movement) and on every turn of
    // the event loop.
    const auto hook = [this] { check(); };
    if (QAbstractEventDispatcher* loop = QAbstractEventDispatcher::instance()) {
        connect(loop, &QAbstractEventDispatcher::aboutToBlock, this, hook);
        connect(loop, &QAbstractEventDispatcher::awake, this, hook);
    }
    for (QTimer* t : {main.timer_resound, main.timer_renamefile, main.timer_i2v, main.timer_endmsg,
                      dialog.Timer_resound_do, dialog.timer_renamefile_do})
        connect(t, &QTimer::timeout, this, hook);
    for (TFFEncoder* e : {main.FFencoder, main.FFi2v}) {
        connect(e, &TFFEncoder::OnProgress, this, hook);
        connect(e, &TFFEncoder::OnTerminate, this, hook);
    }
    connect(dialog.progresstotal, &QProgressBar::valueChanged, this, hook);
    connect(&dialog, &QDialog::finished, this, [this] {
        check();
        if (!closed_) {
            closed_ = true;
            closing_ = now({});
        }
    });
    const CpuTimes cpu = cpu_times();
    cpuStart_ = cpu.self + cpu.children;
    clock_.start();
}

StageMark StageWatch::now(const QString& label) const {
    const CpuTimes cpu = cpu_times();
    return {label, elapsed(), cpu.self + cpu.children - cpuStart_};
}

void StageWatch::check() {
    const QString text = dialog_.Label1->text();
    if (text == last_)
        return;
    last_ = text;
    marks_.push_back(now(text));
}

QVector<double> StageWatch::perStage(double StageMark::*value) const {
    QVector<double> totals(kStageCount, 0.0);
    const double end = closed_ ? closing_.*value : now({}).*value;
    Stage current = Stage::Extraction;
    double from = 0;
    for (const StageMark& m : marks_) {
        const double at = std::min(m.*value, end);
        totals[int(current)] += at - from;
        from = at;
        current = stage_of_label(m.label);
    }
    totals[int(current)] += end - from;
    return totals;
}

QVector<double> StageWatch::stageSeconds() const {
    return perStage(&StageMark::at);
}

QVector<double> StageWatch::stageCpuSeconds() const {
    return perStage(&StageMark::cpu);
}
