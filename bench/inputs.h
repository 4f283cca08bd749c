#pragma once
// The benchmark's input media, made with the `ffmpeg` program into a cache folder and
// reused when present.

#include <QString>

struct ClipRecipe {
    QString fileName; // in the cache folder
    int seconds = 20;
    int width = 1920, height = 1080;
    int fps = 30;
    QString videoArgs; // encoder options, split on blanks
    QString audioArgs;
};

// $TOLVANE_BENCH_CACHE, else $XDG_CACHE_HOME/tolvane-bench, else ~/.cache/tolvane-bench.
QString input_folder();

// The clip in the cache folder, made first when missing; empty (with the reason printed)
// when ffmpeg fails.
QString ensure_clip(const ClipRecipe& recipe);
// A stereo 16-bit WAV of `seconds`, made when missing.
QString ensure_wav(const QString& fileName, int seconds);

// Runs `ffmpeg -hide_banner -nostats -loglevel error <args>` to the end; false with the
// error output in `error` when it fails.
bool run_ffmpeg_quietly(const QStringList& args, QString* error);
