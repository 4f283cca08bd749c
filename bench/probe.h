#pragma once
// A quick look at a finished file with `ffprobe`: its video packets, counted from the
// container.

#include <QString>

// -1 when the file cannot be read.
int video_packets(const QString& path);
