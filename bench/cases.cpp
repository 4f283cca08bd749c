#include "cases.h"

namespace {

const QString kH264 = "-c:v libx264 -preset fast -pix_fmt yuv420p";
const QString kAac = "-c:a aac -b:a 160k -ac 2";

} // namespace

QVector<JobCase> job_cases() {
    return {
        {"20s-360p-avi",
         "20 s, 640x360, 30 fps, MPEG-4 part 2 in AVI, stereo MP3; output .avi",
         {"20s-360p.avi", 20, 640, 360, 30, "-c:v mpeg4 -q:v 4", "-c:a libmp3lame -b:a 160k -ac 2"},
         ".avi",
         3},
        {"20s-1080p",
         "20 s, 1920x1080, 30 fps, H.264, stereo AAC; output .mp4",
         {"20s-1080p.mp4", 20, 1920, 1080, 30, kH264, kAac},
         ".mp4",
         3},
        {"3min-1080p",
         "3 min, 1920x1080, 30 fps, H.264, stereo AAC; output .mp4",
         {"3min-1080p.mp4", 180, 1920, 1080, 30, kH264, kAac},
         ".mp4"},
    };
}

ClipRecipe scrub_clip() {
    return {"scrub-1080p-gop250.mp4",
            30,
            1920,
            1080,
            30,
            kH264 + " -g 250 -keyint_min 250 -sc_threshold 0",
            kAac};
}

QStringList case_names() {
    QStringList names{"rename", "audio", "scrub"};
    for (const JobCase& c : job_cases())
        names << c.name;
    return names;
}
