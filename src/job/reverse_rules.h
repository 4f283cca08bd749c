#pragma once
// Rules of the reverse job: the save dialog, the extraction options, progress figures and
// frame renaming.

#include <QString>
#include <QVector>
#include <cstdint>

struct SaveDialogSetup {
    QString filter;     // "*.MPG|*.mpg|*.AVI|*.avi|..."
    QString defaultExt; // "mpg", or the source's own extension in its own case
};
// `sourcePath` is the loaded source; `startAtMinimum` when the start slider is at its minimum.
SaveDialogSetup save_dialog_setup(const QString& sourcePath, bool startAtMinimum);

struct Segment {
    int64_t startUs = 0, lengthUs = 0;
};
// From the two sliders' values and maxima; a zero maximum counts as position 0.
Segment segment_of(int beginValue, int beginMax, int endValue, int endMax, int64_t durationUs);

QString frames_input_options(const Segment& s);  // " -ss 00:00:01.500"
QString frames_output_options(const Segment& s); // " -t 00:00:04.000 -y -q:v 0 -f image2"
QString sound_output_options(const Segment& s);  // " -t 00:00:04.000 -y -q:a 0"

// round(current * 100 / total), 0 when total is 0.
int32_t task_percent(int64_t currentUs, int64_t totalUs);
// round(sum / count), 0 when count is 0.
int32_t average_percent(const QVector<int32_t>& percents);

// The new number of image k of n: n - k + 1.
inline int64_t reversed_number(int64_t k, int64_t n) {
    return n - k + 1;
}
// The bar after `done` of `total` renames: round(100 * (done / total)), 0 when total is 0.
int32_t rename_percent(int64_t done, int64_t total);
