#include "inputs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>

namespace {

QStringList split(const QString& text) {
    return text.split(' ', Qt::SkipEmptyParts);
}

// Moving pictures with grain, so neither decoders nor encoders get an easy ride.
QString video_source(const ClipRecipe& r) {
    return QString("testsrc2=s=%1x%2:r=%3:d=%4,noise=alls=6:allf=t+u,format=yuv420p")
        .arg(r.width)
        .arg(r.height)
        .arg(r.fps)
        .arg(r.seconds);
}

// Two different tones, a slow swell, so the channels and the direction can be told apart.
QString audio_source(int seconds) {
    return QString("aevalsrc=0.4*sin(2*PI*440*t)*(0.5+0.5*sin(t/3))|"
                   "0.4*sin(2*PI*660*t)*(0.5+0.5*cos(t/3)):s=44100:d=%1")
        .arg(seconds);
}

// Writes under a temporary name and renames on success, so a broken run is never reused.
QString make_file(const QString& fileName, const QStringList& argsBeforeOutput) {
    const QString folder = input_folder();
    const QString path = folder + "/" + fileName;
    if (QFileInfo(path).size() > 0)
        return path;
    QDir().mkpath(folder);
    const QFileInfo info(path);
    const QString part = folder + "/.part-" + info.completeBaseName() + "." + info.suffix();
    std::printf("making input %s ...\n", qPrintable(path));
    std::fflush(stdout);
    QString error;
    if (!run_ffmpeg_quietly(argsBeforeOutput + QStringList{"-y", part}, &error) ||
        !QFile::rename(part, path)) {
        QFile::remove(part);
        std::printf("cannot make %s: %s\n", qPrintable(path), qPrintable(error));
        return {};
    }
    return path;
}

} // namespace

QString input_folder() {
    const QString own = qEnvironmentVariable("TOLVANE_BENCH_CACHE");
    if (!own.isEmpty())
        return own;
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + "/.cache";
    return base + "/tolvane-bench";
}

bool run_ffmpeg_quietly(const QStringList& args, QString* error) {
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start("ffmpeg", QStringList{"-hide_banner", "-nostats", "-loglevel", "error"} + args);
    p.waitForFinished(-1);
    const bool ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!ok && error)
        *error = QString::fromLocal8Bit(p.readAllStandardError()).trimmed() + " " + p.errorString();
    return ok;
}

QString ensure_clip(const ClipRecipe& r) {
    return make_file(r.fileName, QStringList{"-f", "lavfi", "-i", video_source(r), "-f", "lavfi",
                                             "-i", audio_source(r.seconds)} +
                                     split(r.videoArgs) + split(r.audioArgs) +
                                     QStringList{"-t", QString::number(r.seconds)});
}

QString ensure_wav(const QString& fileName, int seconds) {
    return make_file(fileName, {"-f", "lavfi", "-i", audio_source(seconds), "-c:a", "pcm_s16le"});
}
