#pragma once
// Media made at test time with the `ffmpeg` program, and readings of media files.

#include <QString>
#include <QStringList>
#include <QVector>

namespace fixtures {

// Runs `ffmpeg -hide_banner -loglevel error -y <args>`; fails the process on error.
void run_ffmpeg(const QStringList& args);

struct ClipSpec {
    double seconds = 2;
    int fps = 25;
    int width = 320;
    int height = 240;
    int channels = 2; // 0: no sound
    int sampleRate = 44100;
    QStringList codecArgs; // e.g. {"-c:v", "libx264"}; empty: the container's default
    bool grain = false;    // film grain, for a bit rate like a real video's
};

// A clip whose brightness rises frame by frame (frame n has luma about 16 + n * step) and
// whose sound rises in loudness from silence to full scale. Without grain its pictures are flat,
// so an encoder needs next to no bits for them.
QString make_clip(const QString& path, const ClipSpec& clip = {});

// A sound file whose loudness rises over its length: 16-bit PCM unless `codec` names
// another FFmpeg audio encoder; the container follows the path's extension.
QString make_rising_wav(const QString& path, double seconds, int channels, int sampleRate = 44100,
                        const QString& codec = "pcm_s16le");

// Mean grey (full range, 0..255) of every frame of a video, in order.
QVector<double> frame_lumas(const QString& path);

// RMS loudness of consecutive windows of one channel (0-based) of the file's sound.
QVector<double> channel_loudness(const QString& path, int channel, int windows);

struct StreamFacts {
    QString videoCodec, audioCodec;
    int width = 0, height = 0, channels = 0;
    double duration = 0;      // seconds, of the container
    double audioDuration = 0; // seconds, of the first sound stream
    int frames = 0;           // decoded video frames
    QString frameRate;        // "num/den"
    QString pixelFormat;      // "yuv420p", "yuvj420p" (full range), ...
};
StreamFacts probe(const QString& path);

// A folder under the system's temporary folder that lives for the test run.
QString temp_folder(const QString& name);

} // namespace fixtures
