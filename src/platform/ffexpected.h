#pragma once
// The output time a task is expected to reach, worked out from what its inputs hold and
// what its options cut, stretch and leave out, the way the `ffmpeg` program maps streams.

#include <cstdint>
#include <optional>
#include <vector>

namespace ffexpected {

// One probed input and its input options (times in microseconds).
struct Input {
    bool hasVideo = false;
    bool hasAudio = false;
    int64_t videoArea = 0; // width × height; FFmpeg maps the largest picture
    int audioChannels = 0; // FFmpeg maps the sound with the most channels
    std::optional<int64_t> videoDuration, audioDuration;
    std::optional<int64_t> start;    // -ss
    std::optional<int64_t> startEof; // -sseof (negative)
    std::optional<int64_t> limit;    // -t
    std::optional<int64_t> stop;     // -to
};

// The output side of a task.
struct Output {
    bool videoPossible = true; // the container takes pictures and -vn is not given
    bool audioPossible = true; // the container takes sound and -an is not given
    double videoFactor = 1;    // output time over input time of the video filters
    double audioFactor = 1;
    std::optional<int64_t> start; // -ss
    std::optional<int64_t> limit; // -t
    std::optional<int64_t> stop;  // -to
    bool shortest = false;
};

// Microseconds; 0 when nothing of the task has a known length.
int64_t output_duration(const std::vector<Input>& inputs, const Output& output);

} // namespace ffexpected
