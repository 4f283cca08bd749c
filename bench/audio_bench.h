#pragma once
// The sound reversal's throughput against the floor of reading and writing the same WAV
// once, in order, with libsndfile and the same block size: once with 32-bit samples (the
// reversal's type for integer PCM) and once with 16-bit samples (no conversion for a
// 16-bit file).

#include <QString>
#include <QVector>
#include <cstdint>

struct AudioBenchResult {
    bool ok = false;
    QString error;
    int64_t bytes = 0;                                       // size of the input WAV
    QVector<double> reverseSeconds;                          // every run
    QVector<double> copySeconds;                             // int samples
    QVector<double> shortCopySeconds;                        // short samples
    double reverseMBps = 0, copyMBps = 0, shortCopyMBps = 0; // from the median runs
};

AudioBenchResult run_audio_bench(const QString& wav, int rounds);
