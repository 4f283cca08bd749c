#include "job_case.h"

#include "cpu_time.h"
#include "stage_watch.h"
#include "stats.h"
#include "units.h"

#include <algorithm>
#include <cstdio>

namespace {

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

int rounds_of(const JobCase& c) {
    bool given = false;
    const int n = qEnvironmentVariable("TOLVANE_BENCH_ROUNDS").toInt(&given);
    return given && n > 0 ? n : c.rounds;
}

template <typename F> TimeSummary summary(const QVector<JobRound>& rounds, F pick) {
    QVector<double> wall, cpu;
    for (const JobRound& r : rounds) {
        const auto [w, c] = pick(r);
        wall << w;
        cpu << c;
    }
    if (wall.isEmpty())
        return {};
    return {median(wall), median(cpu), *std::min_element(wall.begin(), wall.end()), worst(wall)};
}

void summarise(JobCaseResult& r) {
    for (int s = 0; s < kStageCount; ++s) {
        QVector<double> wall, cpu;
        for (const JobRound& round : r.rounds) {
            wall << round.job.stageSeconds[s];
            cpu << round.job.stageCpuSeconds[s];
        }
        r.stageSeconds << median(wall);
        r.stageCpuSeconds << median(cpu);
    }
    r.job = summary(r.rounds, [](const JobRound& x) {
        return std::pair{x.job.wholeSeconds, x.job.cpuSeconds};
    });
    r.forward = summary(r.rounds, [](const JobRound& x) {
        return std::pair{x.forward.seconds, x.forward.cpuSeconds};
    });
    r.oneCommandFinished = true;
    for (const JobRound& x : r.rounds) {
        r.jobPeak = std::max(r.jobPeak, x.job.peaks.total);
        r.folderPeak = std::max(r.folderPeak, x.job.peaks.folder);
        r.forwardPeak = std::max(r.forwardPeak, x.forward.peaks.children);
        r.oneCommandPeak = std::max(r.oneCommandPeak, x.oneCommand.peaks.children);
        if (!x.oneCommand.ok) {
            r.oneCommandFinished = false;
            r.worstOneCommand = x;
        }
    }
    if (r.oneCommandFinished)
        r.oneCommand = summary(r.rounds, [](const JobRound& x) {
            return std::pair{x.oneCommand.seconds, x.oneCommand.cpuSeconds};
        });
}

} // namespace

JobCaseResult run_job_case(const JobCase& c) {
    JobCaseResult r;
    r.jobCase = c;
    r.loadBefore = load_average();
    say("== " + c.name + ": " + c.description);
    say("  load average before: " + r.loadBefore);
    const QString source = ensure_clip(c.clip);
    if (source.isEmpty()) {
        r.error = "the input could not be made";
        return r;
    }
    const int rounds = rounds_of(c);
    for (int i = 1; i <= rounds; ++i) {
        say(QString("  -- round %1 of %2").arg(i).arg(rounds));
        const JobRound round = run_job_round(source, c.outputExtension);
        if (!round.ok) {
            r.error = round.error;
            return r;
        }
        r.rounds << round;
    }
    r.loadAfter = load_average();
    summarise(r);
    r.ok = true;
    say(QString("  median of %1 round(s): job %2, forward %3, one command %4; job / forward "
                "%5, job / one command %6")
            .arg(rounds)
            .arg(secs(r.job.wall), secs(r.forward.wall),
                 r.oneCommandFinished ? secs(r.oneCommand.wall) : QString("did not finish"),
                 ratio(r.job.wall, r.forward.wall),
                 ratio(r.job.wall, r.oneCommandFinished ? r.oneCommand.wall : 0)));
    say("  load average after: " + r.loadAfter);
    return r;
}
