#include "fixtures.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fixtures {
namespace {

QByteArray run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted() || !p.waitForFinished(600000) || p.exitCode() != 0) {
        std::fprintf(stderr, "%s %s failed: %s\n", qPrintable(program), qPrintable(args.join(' ')),
                     p.readAllStandardError().constData());
        std::abort();
    }
    return p.readAllStandardOutput();
}

} // namespace

void run_ffmpeg(const QStringList& args) {
    run("ffmpeg", QStringList{"-hide_banner", "-loglevel", "error", "-y"} + args);
}

QString make_clip(const QString& path, const ClipSpec& clip) {
    const int frames = int(std::lround(clip.seconds * clip.fps));
    const double step = 200.0 / std::max(1, frames - 1);
    const QString video = QString("color=c=black:s=%1x%2:r=%3:d=%4,format=yuv420p,"
                                  "geq=lum='16+N*%5':cb=128:cr=128")
                              .arg(clip.width)
                              .arg(clip.height)
                              .arg(clip.fps)
                              .arg(clip.seconds)
                              .arg(step) +
                          (clip.grain ? QString(",noise=alls=8:allf=t") : QString());
    QStringList args{"-f", "lavfi", "-i", video};
    if (clip.channels > 0) {
        QStringList chans;
        for (int c = 0; c < clip.channels; ++c)
            chans << QString("t/%1*sin(2*PI*440*t)").arg(clip.seconds);
        args << "-f"
             << "lavfi"
             << "-i"
             << QString("aevalsrc='%1':s=%2:d=%3")
                    .arg(chans.join('|'))
                    .arg(clip.sampleRate)
                    .arg(clip.seconds);
    }
    args << clip.codecArgs << "-shortest" << path;
    run_ffmpeg(args);
    return path;
}

QString make_rising_wav(const QString& path, double seconds, int channels, int sampleRate,
                        const QString& codec) {
    QStringList chans;
    for (int c = 0; c < channels; ++c)
        chans << QString("t/%1*sin(2*PI*440*t)").arg(seconds);
    run_ffmpeg(
        {"-f", "lavfi", "-i",
         QString("aevalsrc='%1':s=%2:d=%3").arg(chans.join('|')).arg(sampleRate).arg(seconds),
         "-c:a", codec, path});
    return path;
}

QVector<double> frame_lumas(const QString& path) {
    const QByteArray raw =
        run("ffmpeg", {"-hide_banner", "-loglevel", "error", "-i", path, "-fps_mode", "passthrough",
                       "-vf", "scale=16:16,format=gray", "-f", "rawvideo", "-"});
    QVector<double> lumas;
    for (qsizetype at = 0; at + 256 <= raw.size(); at += 256) {
        double sum = 0;
        for (int i = 0; i < 256; ++i)
            sum += static_cast<unsigned char>(raw[at + i]);
        lumas << sum / 256;
    }
    return lumas;
}

QVector<double> channel_loudness(const QString& path, int channel, int windows) {
    const StreamFacts facts = probe(path);
    const QByteArray raw = run("ffmpeg", {"-hide_banner", "-loglevel", "error", "-i", path, "-vn",
                                          "-f", "f32le", "-acodec", "pcm_f32le", "-"});
    const qsizetype samples = raw.size() / qsizetype(sizeof(float)) / std::max(1, facts.channels);
    QVector<double> loudness;
    const qsizetype per = samples / windows;
    for (int w = 0; w < windows && per > 0; ++w) {
        double sum = 0;
        for (qsizetype i = w * per; i < (w + 1) * per; ++i) {
            float v;
            std::memcpy(&v, raw.constData() + (i * facts.channels + channel) * sizeof(float),
                        sizeof v);
            sum += double(v) * v;
        }
        loudness << std::sqrt(sum / per);
    }
    return loudness;
}

StreamFacts probe(const QString& path) {
    const QByteArray json = run("ffprobe", {"-v", "error", "-count_frames", "-show_streams",
                                            "-show_format", "-of", "json", path});
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    StreamFacts facts;
    facts.duration = root["format"].toObject()["duration"].toString().toDouble();
    for (const auto& s : root["streams"].toArray()) {
        const QJsonObject stream = s.toObject();
        if (stream["codec_type"] == "video" && facts.videoCodec.isEmpty()) {
            facts.videoCodec = stream["codec_name"].toString();
            facts.width = stream["width"].toInt();
            facts.height = stream["height"].toInt();
            facts.frames = stream["nb_read_frames"].toString().toInt();
            facts.frameRate = stream["avg_frame_rate"].toString();
            facts.pixelFormat = stream["pix_fmt"].toString();
        } else if (stream["codec_type"] == "audio" && facts.audioCodec.isEmpty()) {
            facts.audioCodec = stream["codec_name"].toString();
            facts.channels = stream["channels"].toInt();
            facts.audioDuration = stream["duration"].toString().toDouble();
        }
    }
    return facts;
}

QString temp_folder(const QString& name) {
    static QTemporaryDir root;
    const QString path = root.path() + "/" + name;
    QDir().mkpath(path);
    return path;
}

} // namespace fixtures
