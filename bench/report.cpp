#include "report.h"

#include "stage_watch.h"
#include "stats.h"
#include "units.h"

#include <QStringList>

namespace {

QString row(const QStringList& cells) {
    return "| " + cells.join(" | ") + " |\n";
}

QString rule(int columns) {
    QStringList cells;
    for (int i = 0; i < columns; ++i)
        cells << "---";
    return row(cells);
}

QString one_command_cell(const JobCaseResult& r) {
    if (r.oneCommand.ok)
        return secs_cpu(r.oneCommand.seconds, r.oneCommand.cpuSeconds) + ", " +
               mb(r.oneCommand.peaks.children);
    if (out_of_memory(r.oneCommand))
        return "could not finish within the machine's memory (limit " +
               QString::number(double(r.oneCommandLimit) / double(int64_t(1) << 30), 'f', 1) +
               " GiB, peak " + mb(r.oneCommand.peaks.children) + ")";
    return "failed: " + failure_reason(r.oneCommand);
}

QString jobs_table(const QVector<JobCaseResult>& jobs) {
    QStringList head{"case"};
    for (int s = 0; s < kStageCount - 1; ++s)
        head << stage_name(Stage(s));
    head << "whole job"
         << "peak memory (program + ffmpeg)"
         << "work folder peak"
         << "forward transcode (time, peak)"
         << "one-command reverse (time, peak)"
         << "job / forward"
         << "job / one command"
         << "load before; after";
    QString text = row(head) + rule(int(head.size()));
    for (const JobCaseResult& r : jobs) {
        QStringList cells{r.spec.name};
        if (!r.job.ok) {
            cells << "job failed: " + r.error;
            text += row(cells);
            continue;
        }
        for (int s = 0; s < kStageCount - 1; ++s)
            cells << secs_cpu(r.job.stageSeconds[s], r.job.stageCpuSeconds[s]);
        cells << secs_cpu(r.job.wholeSeconds, r.job.cpuSeconds) << mb(r.job.peaks.total)
              << mb(r.job.peaks.folder)
              << (r.forward.ok ? secs_cpu(r.forward.seconds, r.forward.cpuSeconds) + ", " +
                                     mb(r.forward.peaks.children)
                               : "failed")
              << one_command_cell(r)
              << ratio(r.job.wholeSeconds, r.forward.ok ? r.forward.seconds : 0)
              << ratio(r.job.wholeSeconds, r.oneCommand.ok ? r.oneCommand.seconds : 0)
              << r.loadBefore + "; " + r.loadAfter;
        text += row(cells);
    }
    return text;
}

QString ms(double seconds) {
    return QString::number(seconds * 1e3, 'f', 1) + " ms";
}

} // namespace

QString markdown_report(const RunResults& results) {
    QString text = "Machine: " + results.machine + "\n\n";
    if (!results.jobs.isEmpty()) {
        text += "Inputs:\n\n";
        for (const JobCaseResult& r : results.jobs)
            text += "- `" + r.spec.name + "`: " + r.spec.description + "\n";
        text += "\n" + jobs_table(results.jobs) +
                "\nTimes are wall times, with the processor time (user + system, all "
                "processes) in brackets; ratios are of wall times. Memory is the peak "
                "resident size, sampled every 20 ms.\n\n";
    }
    QStringList head{"measurement", "result"};
    QString other;
    if (const auto& a = results.audio) {
        other += row({"audio reversal (" + mb(a->bytes) + " WAV)",
                      a->ok ? QString::number(a->reverseMBps, 'f', 0) + " MB/s (median " +
                                  secs(median(a->reverseSeconds)) + ")"
                            : "failed: " + a->error});
        other += row({"reading + writing the same WAV once (32-bit samples, as the reversal)",
                      a->ok ? QString::number(a->copyMBps, 'f', 0) + " MB/s (median " +
                                  secs(median(a->copySeconds)) + ")"
                            : "failed"});
        other += row({"reading + writing the same WAV once (16-bit samples)",
                      a->ok ? QString::number(a->shortCopyMBps, 'f', 0) + " MB/s (median " +
                                  secs(median(a->shortCopySeconds)) + ")"
                            : "failed"});
    }
    if (const auto& n = results.rename)
        other += row({QString("renaming %1 frames into reverse order").arg(n->files),
                      n->ok ? QString("median %1, worst %2 (%3 runs)")
                                  .arg(ms(median(n->seconds)), ms(worst(n->seconds)))
                                  .arg(n->seconds.size())
                            : "failed: " + n->error});
    if (const auto& s = results.scrub) {
        if (s->ok) {
            other +=
                row({QString("scrub, drag (%1 positions of %2)").arg(s->drag.size()).arg(s->frames),
                     "median " + ms(median(s->drag)) + ", worst " + ms(worst(s->drag))});
            other += row({QString("scrub, random (%1 positions)").arg(s->random.size()),
                          "median " + ms(median(s->random)) + ", worst " + ms(worst(s->random))});
        } else {
            other += row({"scrub", "failed: " + s->error});
        }
    }
    if (!other.isEmpty())
        text += row(head) + rule(2) + other;
    return text;
}
