#include "platform/fflibrary.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

extern "C" {
#include <libavutil/log.h>
}

namespace fflibrary {
namespace {

constexpr int kVersionTimeoutMs = 10000;

QString loadedProgram;
QString lastError;

bool refuse(const QString& error) {
    lastError = error;
    return false;
}

} // namespace

bool LibrariesLoaded() {
    return !loadedProgram.isEmpty();
}

bool LoadLibraries(const QString& folder) {
    if (LibrariesLoaded())
        return true;
    if (folder.isEmpty())
        return refuse("No FFmpeg folder is given");
    const QFileInfo program(QDir(folder).absoluteFilePath("ffmpeg"));
    if (!program.exists() || program.isDir())
        return refuse(QString("There is no ffmpeg in %1").arg(folder));
    if (!program.isExecutable())
        return refuse(QString("%1 is not executable").arg(program.absoluteFilePath()));

    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program.absoluteFilePath(), {"-version"});
    if (!process.waitForStarted(kVersionTimeoutMs))
        return refuse(
            QString("Cannot run %1: %2").arg(program.absoluteFilePath(), process.errorString()));
    if (!process.waitForFinished(kVersionTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return refuse(
            QString("%1 did not answer -version in time").arg(program.absoluteFilePath()));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return refuse(QString("%1 -version failed (exit code %2)")
                          .arg(program.absoluteFilePath())
                          .arg(process.exitCode()));
    loadedProgram = program.absoluteFilePath();
    lastError.clear();
    // Probing and preview decoding report their failures through their results; the
    // libraries' own warnings (a JPEG probe's "EOI missing", say) are only noise here.
    av_log_set_level(AV_LOG_ERROR);
    return true;
}

QString ffmpegProgram() {
    return loadedProgram;
}

QString LastError() {
    return lastError;
}

void Unload() {
    loadedProgram.clear();
    lastError.clear();
}

} // namespace fflibrary
