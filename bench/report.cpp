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

// "27.8 s (CPU 52.1 s)", with the range over the rounds when there were several.
QString time_cell(const TimeSummary& t, int rounds) {
    QString text = secs_cpu(t.wall, t.cpu);
    if (rounds > 1)
        text += ", " + QString::number(t.wallMin, 'f', 1) + "-" +
                QString::number(t.wallMax, 'f', 1) + " s";
    return text;
}

QString one_command_cell(const JobCaseResult& r) {
    const int rounds = int(r.rounds.size());
    if (r.oneCommandFinished)
        return time_cell(r.oneCommand, rounds) + "; " + mb(r.oneCommandPeak);
    const JobRound& x = r.worstOneCommand;
    if (out_of_memory(x.oneCommand))
        return "could not finish within the machine's memory (limit " +
               QString::number(double(x.oneCommandLimit) / double(int64_t(1) << 30), 'f', 1) +
               " GiB, peak " + mb(x.oneCommand.peaks.children) + ")";
    return "failed: " + failure_reason(x.oneCommand);
}

QString jobs_table(const QVector<JobCaseResult>& jobs) {
    QStringList head{"case", "rounds"};
    for (int s = 0; s < kStageCount - 1; ++s)
        head << stage_name(Stage(s));
    head << "whole job"
         << "peak memory (program + ffmpeg)"
         << "work folder peak"
         << "forward transcode"
         << "one-command reverse"
         << "job / forward"
         << "job / one command"
         << "load before; after";
    QString text = row(head) + rule(int(head.size()));
    for (const JobCaseResult& r : jobs) {
        QStringList cells{r.jobCase.name, QString::number(r.rounds.size())};
        if (!r.ok) {
            cells << "failed: " + r.error;
            text += row(cells);
            continue;
        }
        const int rounds = int(r.rounds.size());
        for (int s = 0; s < kStageCount - 1; ++s)
            cells << secs_cpu(r.stageSeconds[s], r.stageCpuSeconds[s]);
        cells << time_cell(r.job, rounds) << mb(r.jobPeak) << mb(r.folderPeak)
              << time_cell(r.forward, rounds) + "; " + mb(r.forwardPeak) << one_command_cell(r)
              << ratio(r.job.wall, r.forward.wall)
              << ratio(r.job.wall, r.oneCommandFinished ? r.oneCommand.wall : 0)
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
            text += "- `" + r.jobCase.name + "`: " + r.jobCase.description + "\n";
        text += "\n" + jobs_table(results.jobs) +
                "\nTimes are medians over the rounds: wall time, the processor time (user + "
                "system, all processes) in brackets, then the range of the wall times. Ratios "
                "are of the median wall times. Memory is the largest peak resident size of "
                "the rounds, sampled every 20 ms; for the job it is the program and its "
                "ffmpeg children together, for the two comparisons ffmpeg alone.\n\n";
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
