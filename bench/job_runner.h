#pragma once
// One whole reverse job through the program's own windows and job code: real Tmain and
// dialogs, the scripted dialog service answering the save dialog, "Reverse Sound", the
// whole source.

#include "sampler.h"

#include <QString>
#include <QStringList>
#include <QVector>

struct JobResult {
    bool ok = false;
    QString error;                // the dialogs' messages when the job did not finish
    QVector<double> stageSeconds; // indexed by Stage
    QVector<double> stageCpuSeconds;
    double wholeSeconds = 0;      // from the Reverse command to the dialog's closing
    double cpuSeconds = 0;        // processor time of the program and its ffmpeg runs then,
                                  // the sampler's excluded
    double programCpuSeconds = 0; // the program's own share (its main thread: UI, progress)
    SamplerPeaks peaks;           // the program and its ffmpeg children, the work folder
    QStringList extractionArgs;   // the argument lists the job ran, for the comparisons
    QStringList assemblyArgs;
    QString segmentStart, segmentLength; // the extraction's "-ss" and "-t" values
    QStringList labels;                  // the dialog's texts, in order, with their times
};

JobResult run_reverse_job(const QString& source, const QString& output);
