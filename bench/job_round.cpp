#include "job_round.h"

#include "comparison.h"
#include "probe.h"
#include "stage_watch.h"
#include "units.h"

#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

QString output_folder() {
    return QDir::tempPath() + "/tolvane-bench-out";
}

} // namespace

JobRound run_job_round(const QString& source, const QString& outputExtension) {
    JobRound r;
    QDir().mkpath(output_folder());
    const QString reversed = output_folder() + "/reversed" + outputExtension;
    const QString forward = output_folder() + "/forward" + outputExtension;
    const QString oneCommand = output_folder() + "/one-command" + outputExtension;

    r.job = run_reverse_job(source, reversed);
    for (const QString& label : r.job.labels)
        say("  dialog at " + label);
    if (!r.job.ok) {
        r.error = "the job did not finish: " + r.job.error;
        say("  " + r.error);
        return r;
    }
    r.jobFrames = video_packets(reversed);
    for (int s = 0; s < kStageCount - 1; ++s)
        say(QString("  %1 %2")
                .arg(stage_name(Stage(s)), -16)
                .arg(secs_cpu(r.job.stageSeconds[s], r.job.stageCpuSeconds[s])));
    say(QString("  %1 %2")
            .arg("whole job", -16)
            .arg(secs_cpu(r.job.wholeSeconds, r.job.cpuSeconds)));
    say(QString("  processor time of the program itself %1 (the sampler's own %2, not counted)")
            .arg(secs(r.job.programCpuSeconds), secs(r.job.peaks.cpuSeconds)));
    say(QString("  peak memory (program + ffmpeg) %1 (program alone %2, ffmpeg alone %3)")
            .arg(mb(r.job.peaks.total), mb(r.job.peaks.self), mb(r.job.peaks.children)));
    say(QString("  work folder peak %1 (%2 files)")
            .arg(mb(r.job.peaks.folder))
            .arg(r.job.peaks.folderFiles));
    say("  extraction ran: ffmpeg " + r.job.extractionArgs.join(' '));
    say("  assembly ran:   ffmpeg " + r.job.assemblyArgs.join(' '));

    const ComparisonInput in{source, r.job.segmentStart, r.job.segmentLength,
                             output_options_of(r.job.assemblyArgs)};
    if (in.outputOptions.isEmpty()) {
        r.error = "the assembly's output options could not be read";
        say("  " + r.error);
        return r;
    }
    const QStringList forwardArgs = forward_args(in, forward);
    say("  forward: ffmpeg " + forwardArgs.join(' '));
    r.forward = run_measured_ffmpeg(forwardArgs);
    r.forwardFrames = video_packets(forward);
    say(r.forward.ok ? QString("  forward transcode %1, peak %2")
                           .arg(secs_cpu(r.forward.seconds, r.forward.cpuSeconds),
                                mb(r.forward.peaks.children))
                     : "  forward transcode failed: " + r.forward.error);

    r.oneCommandLimit = one_command_memory_limit();
    const QStringList reverseArgs = one_command_args(in, oneCommand);
    say(QString("  one command (address space limit %1 GiB): ffmpeg %2")
            .arg(double(r.oneCommandLimit) / double(int64_t(1) << 30), 0, 'f', 1)
            .arg(reverseArgs.join(' ')));
    r.oneCommand = run_measured_ffmpeg(reverseArgs, r.oneCommandLimit);
    r.oneCommandFrames = r.oneCommand.ok ? video_packets(oneCommand) : -1;
    // Short of memory, the decoder can drop pictures and ffmpeg still end well.
    if (r.oneCommand.ok && r.oneCommandFrames != r.forwardFrames) {
        r.oneCommand.ok = false;
        r.oneCommand.error +=
            QString("\nwrote %1 of %2 pictures").arg(r.oneCommandFrames).arg(r.forwardFrames);
    }
    if (r.oneCommand.ok) {
        say(QString("  one-command reverse %1, peak %2")
                .arg(secs_cpu(r.oneCommand.seconds, r.oneCommand.cpuSeconds),
                     mb(r.oneCommand.peaks.children)));
    } else if (out_of_memory(r.oneCommand)) {
        say(QString("  one-command reverse could not finish within the machine's memory "
                    "(after %1, peak %2; %3: %4)")
                .arg(secs(r.oneCommand.seconds), mb(r.oneCommand.peaks.children),
                     r.oneCommand.crashed ? QString("ended by a signal")
                                          : "exit code " + QString::number(r.oneCommand.exitCode))
                .arg(failure_reason(r.oneCommand)));
    } else {
        say("  one-command reverse failed: " + r.oneCommand.error);
    }
    say(QString("  video packets written: job %1, forward %2, one command %3")
            .arg(r.jobFrames)
            .arg(r.forwardFrames)
            .arg(r.oneCommandFrames));
    say(QString("  job / forward %1, job / one command %2")
            .arg(ratio(r.job.wholeSeconds, r.forward.ok ? r.forward.seconds : 0),
                 ratio(r.job.wholeSeconds, r.oneCommand.ok ? r.oneCommand.seconds : 0)));
    say(QString("  processor time: job / forward %1, job / one command %2")
            .arg(ratio(r.job.cpuSeconds, r.forward.ok ? r.forward.cpuSeconds : 0),
                 ratio(r.job.cpuSeconds, r.oneCommand.ok ? r.oneCommand.cpuSeconds : 0)));
    for (const QString& f : {reversed, forward, oneCommand})
        QFile::remove(f);
    r.ok = r.forward.ok;
    if (!r.ok)
        r.error = "the forward transcode failed: " + r.forward.error;
    return r;
}
