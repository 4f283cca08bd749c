#include "platform/ffexpected.h"

#include <algorithm>
#include <cmath>

namespace ffexpected {
namespace {

// What the input options leave of a stream of the given length.
std::optional<int64_t> input_window(const Input& in, const std::optional<int64_t>& length) {
    int64_t start = in.start.value_or(0);
    if (in.startEof && length)
        start = *length + *in.startEof;
    start = std::max<int64_t>(0, start);
    std::optional<int64_t> left;
    if (length)
        left = std::max<int64_t>(0, *length - start);
    // -t wins over -to, as in FFmpeg
    std::optional<int64_t> cut = in.limit;
    if (!cut && in.stop)
        cut = std::max<int64_t>(0, *in.stop - start);
    if (cut)
        left = left ? std::min(*left, *cut) : *cut;
    return left;
}

std::optional<int64_t> output_window(const Output& out, std::optional<int64_t> length,
                                     double factor) {
    if (length)
        length = static_cast<int64_t>(std::llround(static_cast<double>(*length) * factor));
    std::optional<int64_t> end = out.limit;
    if (!end && out.stop)
        end = *out.stop;
    const int64_t start = std::max<int64_t>(0, out.start.value_or(0));
    if (end && out.limit)
        end = *end + start; // -t counts from the output's -ss
    if (end)
        length = length ? std::min(*length, *end) : *end;
    if (length)
        length = std::max<int64_t>(0, *length - start);
    return length;
}

} // namespace

int64_t output_duration(const std::vector<Input>& inputs, const Output& output) {
    const Input* video = nullptr;
    const Input* audio = nullptr;
    for (const Input& in : inputs) {
        if (in.hasVideo && (!video || in.videoArea > video->videoArea))
            video = &in;
        if (in.hasAudio && (!audio || in.audioChannels > audio->audioChannels))
            audio = &in;
    }
    std::vector<int64_t> streams;
    if (video && output.videoPossible)
        if (auto t = output_window(output, input_window(*video, video->videoDuration),
                                   output.videoFactor))
            streams.push_back(*t);
    if (audio && output.audioPossible)
        if (auto t = output_window(output, input_window(*audio, audio->audioDuration),
                                   output.audioFactor))
            streams.push_back(*t);
    if (streams.empty())
        return 0;
    return output.shortest ? *std::min_element(streams.begin(), streams.end())
                           : *std::max_element(streams.begin(), streams.end());
}

} // namespace ffexpected
