#pragma once
// The Markdown tables of a run, for docs/performance.md.

#include "audio_bench.h"
#include "job_case.h"
#include "rename_bench.h"
#include "scrub_bench.h"

#include <QString>
#include <QVector>
#include <optional>

struct RunResults {
    QString machine;
    QVector<JobCaseResult> jobs;
    std::optional<AudioBenchResult> audio;
    std::optional<RenameBenchResult> rename;
    std::optional<ScrubBenchResult> scrub;
};

QString markdown_report(const RunResults& results);
