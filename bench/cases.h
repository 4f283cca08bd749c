#pragma once
// The benchmark's cases by name, and their inputs.

#include "inputs.h"
#include "job_case.h"

#include <QStringList>
#include <QVector>

QVector<JobCase> job_cases();
// The 1080p clip with a key frame every 250 frames, for the scrub measurement.
ClipRecipe scrub_clip();
// The WAV of the audio measurement.
inline constexpr const char* kAudioWav = "10min-stereo-16bit.wav";
inline constexpr int kAudioSeconds = 600;

// Every case name, the quick ones first (the order of a full run).
QStringList case_names();
