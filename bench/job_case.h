#pragma once
// A whole-job case: its input, and rounds of the job and its two comparisons. On a shared
// machine one round can be slowed by others' work at any moment, so a short case runs
// several rounds, each one job, forward transcode and one-command reverse in a row, and
// the summary takes the median of each time.

#include "inputs.h"
#include "job_round.h"

#include <QString>
#include <QVector>

struct JobCase {
    QString name;        // as given on the command line
    QString description; // of the input
    ClipRecipe clip;
    QString outputExtension; // ".mp4"
    int rounds = 1;
};

struct TimeSummary {
    double wall = 0, cpu = 0; // medians over the rounds
    double wallMin = 0, wallMax = 0;
};

struct JobCaseResult {
    JobCase jobCase;
    bool ok = false;
    QString error;
    QVector<JobRound> rounds;
    // Over the rounds that finished:
    QVector<double> stageSeconds, stageCpuSeconds; // medians per stage
    TimeSummary job, forward, oneCommand;
    bool oneCommandFinished = false; // in every round
    JobRound worstOneCommand;        // a round where it did not finish, for its reason
    int64_t jobPeak = 0, folderPeak = 0, forwardPeak = 0, oneCommandPeak = 0; // maxima
    QString loadBefore, loadAfter; // the machine's load averages around the case
};

// Runs the case, printing as it goes. $TOLVANE_BENCH_ROUNDS overrides the case's rounds.
JobCaseResult run_job_case(const JobCase& c);
