#include "job_runner.h"

#include "../tests/window_fixture.h"
#include "cpu_time.h"
#include "stage_watch.h"

#include "common/helpers_rules.h"
#include "common/workfolder.h"
#include "job/reverse_rules.h"
#include "platform/rxslider.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRadioButton>

namespace {

constexpr const char* kFinished = "Process is finished!";
constexpr int kEndMessageWaitMs = 30000;

// The end message follows the dialog's closing through a timer.
bool wait_for_end_message(const ScriptedDialogService& dialogs) {
    QElapsedTimer waited;
    waited.start();
    while (!dialogs.texts().contains(kFinished) && waited.elapsed() < kEndMessageWaitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return dialogs.texts().contains(kFinished);
}

} // namespace

JobResult run_reverse_job(const QString& source, const QString& output) {
    JobResult result;
    Windows w;
    if (!w.created) {
        result.error = "the main window could not be created: " + w.dialogs.texts().join("; ");
        return result;
    }
    w.main->load_videofile(source);
    if (!w.dialogs.messages.isEmpty()) {
        result.error = "loading: " + w.dialogs.texts().join("; ");
        return result;
    }
    w.main->radio_backwardaudio->setChecked(true);
    QFile::remove(output);
    // A run that was broken off may have left images behind.
    QDir(work_folder()).removeRecursively();
    QDir().mkpath(work_folder());

    w.dialogs.saveAnswers.push_back(output);
    Sampler sampler(work_folder());
    const CpuTimes before = cpu_times();
    StageWatch watch(*w.main, *w.batchaudioc);
    w.main->BitBtn1Click();
    result.wholeSeconds = watch.elapsed();
    const CpuTimes after = cpu_times();
    result.peaks = sampler.stop();
    // The sampler's own work is the measurement's, not the job's.
    result.cpuSeconds =
        after.self - before.self + after.children - before.children - result.peaks.cpuSeconds;
    result.programCpuSeconds = after.self - before.self - result.peaks.cpuSeconds;
    result.stageSeconds = watch.stageSeconds();
    result.stageCpuSeconds = watch.stageCpuSeconds();
    for (const StageMark& m : watch.marks())
        result.labels << QString("%1 s %2").arg(m.at, 0, 'f', 3).arg(m.label);

    const bool ended = wait_for_end_message(w.dialogs);
    const QStringList texts = w.dialogs.texts();
    result.ok = ended && texts == QStringList{kFinished} && QFile::exists(output);
    if (!result.ok)
        result.error = texts.isEmpty() ? QString("no end message") : texts.join("; ");

    const Segment segment = segment_of(w.main->split_begin->Value(),
                                       w.main->split_begin->MaxValue(), w.main->split_end->Value(),
                                       w.main->split_end->MaxValue(), w.main->video_duration);
    result.segmentStart = timecode_text(segment.startUs);
    result.segmentLength = timecode_text(segment.lengthUs);
    if (w.main->FFencoder->TaskCount() > 0)
        result.extractionArgs = w.main->FFencoder->TaskArguments(0);
    if (w.main->FFi2v->TaskCount() > 0)
        result.assemblyArgs = w.main->FFi2v->TaskArguments(0);
    return result;
}
