#pragma once
// The latency of the segment sliders: the time from setting split_begin's (or split_end's)
// value on a loaded Tmain to the preview having been drawn. The change handler seeks,
// decodes and draws synchronously, so the SetValue call is timed.

#include <QString>
#include <QVector>

struct ScrubBenchResult {
    bool ok = false;
    QString error;
    int frames = 0;         // the slider's range
    QVector<double> drag;   // seconds per position, split_begin moved like a drag
    QVector<double> random; // seconds per position, split_end at random positions
};

ScrubBenchResult run_scrub_bench(const QString& clip, int dragSteps, int randomSteps);
