#include "platform/audiofile.h"

#include "platform/stereomix.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>
#include <sndfile.h>
#include <type_traits>
#include <vector>

namespace {

constexpr sf_count_t kBlockFrames = 262144;

sf_count_t read_frames(SNDFILE* file, short* data, sf_count_t frames) {
    return sf_readf_short(file, data, frames);
}
sf_count_t read_frames(SNDFILE* file, int* data, sf_count_t frames) {
    return sf_readf_int(file, data, frames);
}
sf_count_t read_frames(SNDFILE* file, double* data, sf_count_t frames) {
    return sf_readf_double(file, data, frames);
}
sf_count_t write_frames(SNDFILE* file, const short* data, sf_count_t frames) {
    return sf_writef_short(file, data, frames);
}
sf_count_t write_frames(SNDFILE* file, const int* data, sf_count_t frames) {
    return sf_writef_int(file, data, frames);
}
sf_count_t write_frames(SNDFILE* file, const double* data, sf_count_t frames) {
    return sf_writef_double(file, data, frames);
}

template <typename T> T mixed(double value) {
    if constexpr (std::is_integral_v<T>)
        return T(std::clamp(std::llround(value), (long long)std::numeric_limits<T>::min(),
                            (long long)std::numeric_limits<T>::max()));
    else
        return value;
}

QString sound_error(SNDFILE* file, const QString& otherwise) {
    return sf_error(file) != SF_ERR_NO_ERROR ? QString::fromUtf8(sf_strerror(file)) : otherwise;
}

// Integer PCM is read and written as int, which libsndfile carries losslessly for every
// width up to 32 bits, and PCM of 16 bits or less as short, which carries it as losslessly
// at a third of the cost; floating-point data goes through double. Anything else
// (compressed subtypes) is decoded and written as 32-bit float.
enum class Samples { Short, Int, Double };
struct OutputFormat {
    Samples samples = Samples::Double;
    int subtype = SF_FORMAT_FLOAT;
    bool integer() const { return samples != Samples::Double; }
};

OutputFormat output_format(int inputFormat) {
    const int subtype = inputFormat & SF_FORMAT_SUBMASK;
    switch (subtype) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_PCM_16:
        return {Samples::Short, subtype};
    case SF_FORMAT_PCM_24:
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_ULAW:
    case SF_FORMAT_ALAW:
        return {Samples::Int, subtype};
    case SF_FORMAT_DOUBLE:
        return {Samples::Double, SF_FORMAT_DOUBLE};
    default:
        return {Samples::Double, SF_FORMAT_FLOAT};
    }
}

// Reads `in` block by block from its end, turns each block round and writes it as two
// channels to `out`.
template <typename T>
QString reverse_blocks(SNDFILE* in, const SF_INFO& info, SNDFILE* out, const StereoMix& mix,
                       const std::function<void(int)>& percent) {
    const int channels = info.channels;
    std::vector<T> block(size_t(kBlockFrames) * channels);
    std::vector<T> stereo(size_t(kBlockFrames) * 2);
    int reported = 0;
    for (sf_count_t end = info.frames; end > 0;) {
        const sf_count_t count = std::min(kBlockFrames, end);
        const sf_count_t start = end - count;
        if (sf_seek(in, start, SEEK_SET) != start)
            return sound_error(in, "Cannot seek in the sound file");
        if (read_frames(in, block.data(), count) != count)
            return sound_error(in, "The sound file ends before its stated length");
        if (mix.isCopy()) {
            for (sf_count_t i = 0; i < count; ++i) {
                const T* frame = block.data() + (count - 1 - i) * channels;
                stereo[size_t(i) * 2] = frame[0];
                stereo[size_t(i) * 2 + 1] = frame[channels - 1];
            }
        } else {
            for (sf_count_t i = 0; i < count; ++i) {
                const T* frame = block.data() + (count - 1 - i) * channels;
                for (int side = 0; side < 2; ++side) {
                    double sum = 0;
                    for (int c = 0; c < channels; ++c)
                        sum += mix.weight(c, side) * double(frame[c]);
                    stereo[size_t(i) * 2 + side] = mixed<T>(sum);
                }
            }
        }
        if (write_frames(out, stereo.data(), count) != count)
            return sound_error(out, "Cannot write the reversed sound");
        end = start;
        const int now = int((info.frames - end) * 100 / info.frames);
        if (now != reported && percent)
            percent(now);
        reported = now;
    }
    if (reported != 100 && percent)
        percent(100);
    return {};
}

QVector<int> channel_map(SNDFILE* file, int channels) {
    QVector<int> map(channels);
    if (sf_command(file, SFC_GET_CHANNEL_MAP_INFO, map.data(), int(sizeof(int) * channels)) !=
        SF_TRUE)
        map.clear();
    return map;
}

bool same_file(const QFileInfo& a, const QFileInfo& b) {
    if (!a.exists() || !b.exists())
        return false;
    return a.canonicalFilePath() == b.canonicalFilePath();
}

} // namespace

AudioReverseResult reverse_audio_file(const QString& input, const QString& output,
                                      const std::function<void(int)>& percent) {
    const QFileInfo inputInfo(input), outputInfo(output);
    if (same_file(inputInfo, outputInfo))
        return {false, "The reversed sound cannot replace its own source"};

    SF_INFO info{};
    SNDFILE* in =
        sf_open(QFile::encodeName(inputInfo.absoluteFilePath()).constData(), SFM_READ, &info);
    if (!in)
        return {false, QString::fromUtf8(sf_strerror(nullptr))};
    if (info.channels < 1) {
        sf_close(in);
        return {false, "The sound file has no channels"};
    }
    const StereoMix mix(info.channels, channel_map(in, info.channels));

    const OutputFormat format = output_format(info.format);
    SF_INFO outInfo{};
    outInfo.samplerate = info.samplerate;
    outInfo.channels = 2;
    // RF64 falls back to a plain WAV header on closing whenever the sound fits one.
    outInfo.format = SF_FORMAT_RF64 | format.subtype;
    if (!sf_format_check(&outInfo))
        outInfo.format = SF_FORMAT_RF64 | (format.integer() ? SF_FORMAT_PCM_16 : SF_FORMAT_FLOAT);
    const QString outputPath = outputInfo.absoluteFilePath();
    SNDFILE* out = sf_open(QFile::encodeName(outputPath).constData(), SFM_WRITE, &outInfo);
    if (!out) {
        const QString error = QString::fromUtf8(sf_strerror(nullptr));
        sf_close(in);
        return {false, error};
    }
    sf_command(out, SFC_RF64_AUTO_DOWNGRADE, nullptr, SF_TRUE);

    if (percent)
        percent(0);
    QString error =
        format.samples == Samples::Short ? reverse_blocks<short>(in, info, out, mix, percent)
        : format.samples == Samples::Int ? reverse_blocks<int>(in, info, out, mix, percent)
                                         : reverse_blocks<double>(in, info, out, mix, percent);
    sf_close(in);
    if (sf_close(out) != 0 && error.isEmpty())
        error = "Cannot finish writing the reversed sound";
    if (!error.isEmpty()) {
        QFile::remove(outputPath);
        return {false, error};
    }
    return {true, {}};
}

bool TAudioTransform2::Reverse(const QString& input, const QString& output) {
    const AudioReverseResult result =
        reverse_audio_file(input, output, [this](int percent) { emit OnTransformBlock(percent); });
    lastError_ = result.error;
    if (!result.ok)
        return false;
    emit OnEndTransform();
    return true;
}

#include "moc_audiofile.cpp"
