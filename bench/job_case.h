#pragma once
// A whole-job case: its input, the job through the program, and the two comparisons.

#include "inputs.h"
#include "job_runner.h"
#include "measured_ffmpeg.h"

#include <QString>

struct JobCase {
    QString name;        // as given on the command line
    QString description; // of the input
    ClipRecipe clip;
    QString outputExtension; // ".mp4"
};

struct JobCaseResult {
    JobCase spec;
    bool ok = false;
    QString error;
    JobResult job;
    MeasuredRun forward;
    MeasuredRun oneCommand;
    int64_t oneCommandLimit = 0;
    QString loadBefore, loadAfter; // the machine's load averages around the case
    int jobFrames = -1, forwardFrames = -1, oneCommandFrames = -1; // video packets written
};

// Runs the case, printing as it goes.
JobCaseResult run_job_case(const JobCase& c);

// True when a failed run ran out of memory (or address space) or was killed.
bool out_of_memory(const MeasuredRun& run);
// The line of a failed run's error output that says most: the first about memory, else the
// last.
QString failure_reason(const MeasuredRun& run);
