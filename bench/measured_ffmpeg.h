#pragma once
// One run of the `ffmpeg` program with its wall time and peak resident memory, sampled
// like the job's; optionally under a limit of address space.

#include "sampler.h"

#include <QString>
#include <QStringList>
#include <cstdint>

struct MeasuredRun {
    bool ok = false;
    bool crashed = false; // ended by a signal (killed, aborted, ...)
    int exitCode = 0;
    double seconds = 0;
    double cpuSeconds = 0; // ffmpeg's processor time
    SamplerPeaks peaks;    // `children` is ffmpeg alone
    QString error;         // ffmpeg's error output
};

// `addressSpaceLimit` > 0 sets RLIMIT_AS in the child before ffmpeg starts.
MeasuredRun run_measured_ffmpeg(const QStringList& args, int64_t addressSpaceLimit = 0);

// The limit the one-command reverse runs under: 20 GiB, less when the machine has less
// memory free (a few GiB stay for everything else on it).
// $TOLVANE_BENCH_REVERSE_LIMIT_GIB sets another limit.
int64_t one_command_memory_limit();

// True when a failed run ran out of memory (or address space) or was killed.
bool out_of_memory(const MeasuredRun& run);
// The line of a failed run's error output that says most: the first about memory, else the
// last.
QString failure_reason(const MeasuredRun& run);
