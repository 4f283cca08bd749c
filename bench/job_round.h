#pragma once
// One round of a whole-job case: the job through the program, then the forward transcode
// and the one-command reverse of the same segment with the job's own output options.

#include "job_runner.h"
#include "measured_ffmpeg.h"

#include <QString>

struct JobRound {
    bool ok = false; // the job and the forward transcode finished
    QString error;
    JobResult job;
    MeasuredRun forward;
    MeasuredRun oneCommand; // ok false when it did not finish (see out_of_memory)
    int64_t oneCommandLimit = 0;
    int jobFrames = -1, forwardFrames = -1, oneCommandFrames = -1; // video packets written
};

// Runs and prints one round; `outputExtension` is ".mp4" and the like.
JobRound run_job_round(const QString& source, const QString& outputExtension);
