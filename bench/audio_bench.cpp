#include "audio_bench.h"

#include "stats.h"

#include "platform/audiofile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <sndfile.h>
#include <vector>

namespace {

// The block the reversal reads and writes (kBlockFrames in platform/audiofile.cpp).
constexpr sf_count_t kBlockFrames = 32768;

sf_count_t read_frames(SNDFILE* file, short* data, sf_count_t frames) {
    return sf_readf_short(file, data, frames);
}
sf_count_t read_frames(SNDFILE* file, int* data, sf_count_t frames) {
    return sf_readf_int(file, data, frames);
}
sf_count_t write_frames(SNDFILE* file, const short* data, sf_count_t frames) {
    return sf_writef_short(file, data, frames);
}
sf_count_t write_frames(SNDFILE* file, const int* data, sf_count_t frames) {
    return sf_writef_int(file, data, frames);
}

// Reads `input` front to back and writes it unchanged, in the reversal's output format,
// with samples of type T.
template <typename T> QString copy_wav(const QString& input, const QString& output) {
    SF_INFO info{};
    SNDFILE* in = sf_open(QFile::encodeName(input).constData(), SFM_READ, &info);
    if (!in)
        return sf_strerror(nullptr);
    SF_INFO outInfo{};
    outInfo.samplerate = info.samplerate;
    outInfo.channels = info.channels;
    outInfo.format = SF_FORMAT_RF64 | (info.format & SF_FORMAT_SUBMASK);
    SNDFILE* out = sf_open(QFile::encodeName(output).constData(), SFM_WRITE, &outInfo);
    if (!out) {
        sf_close(in);
        return sf_strerror(nullptr);
    }
    sf_command(out, SFC_RF64_AUTO_DOWNGRADE, nullptr, SF_TRUE);
    std::vector<T> block(size_t(kBlockFrames) * info.channels);
    QString error;
    for (;;) {
        const sf_count_t n = read_frames(in, block.data(), kBlockFrames);
        if (n <= 0)
            break;
        if (write_frames(out, block.data(), n) != n) {
            error = sf_strerror(out);
            break;
        }
    }
    sf_close(in);
    sf_close(out);
    return error;
}

double timed(const std::function<QString()>& work, QString* error) {
    QElapsedTimer clock;
    clock.start();
    const QString e = work();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    if (!e.isEmpty() && error->isEmpty())
        *error = e;
    return seconds;
}

} // namespace

AudioBenchResult run_audio_bench(const QString& wav, int rounds) {
    AudioBenchResult r;
    r.bytes = QFileInfo(wav).size();
    const QString reversed = wav + ".reversed.wav";
    const QString copied = wav + ".copied.wav";
    // One untimed pass, so every run starts with the input in the page cache.
    copy_wav<int>(wav, copied);
    for (int i = 0; i < rounds; ++i) {
        QFile::remove(reversed);
        QFile::remove(copied);
        r.reverseSeconds << timed(
            [&] {
                const AudioReverseResult a = reverse_audio_file(wav, reversed, {});
                return a.ok ? QString() : a.error;
            },
            &r.error);
        QFile::remove(copied);
        r.copySeconds << timed([&] { return copy_wav<int>(wav, copied); }, &r.error);
        QFile::remove(copied);
        r.shortCopySeconds << timed([&] { return copy_wav<short>(wav, copied); }, &r.error);
    }
    QFile::remove(reversed);
    QFile::remove(copied);
    r.ok = r.error.isEmpty() && r.bytes > 0;
    r.reverseMBps = double(r.bytes) / 1e6 / median(r.reverseSeconds);
    r.copyMBps = double(r.bytes) / 1e6 / median(r.copySeconds);
    r.shortCopyMBps = double(r.bytes) / 1e6 / median(r.shortCopySeconds);
    return r;
}
