#pragma once
// Rules of accepting and measuring a source video.

#include <QString>
#include <cstdint>

extern const QString SOURCE_EXTENSIONS; // "*.AVI;*.MPG;...;*.MTS;" (30 patterns)
extern const QString OUTPUT_EXTENSIONS; // "*.AVI;*.MPG;...;*.MTS;" (17 patterns)

// The file name's extension from its last dot on, dot included; empty without a dot.
QString file_extension(const QString& path);
// True when `extension` (any case) upper-cased occurs in `list`; an empty one never does.
bool extension_in_list(const QString& extension, const QString& list);

struct FrameCountInput {
    int videoStreamCount = 0;
    int64_t streamDurationUs = -1; // -1 or 0 when unknown
    bool containerKnown = false;
    int64_t containerDurationUs = 0;
    int32_t rateNum = 0, rateDen = 0;
};
// The frame count, or `previous` when neither duration is known.
int32_t frame_count(const FrameCountInput& in, int32_t previous);
