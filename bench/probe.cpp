#include "probe.h"

#include <QProcess>

int video_packets(const QString& path) {
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-select_streams", "v:0", "-count_packets", "-show_entries",
                        "stream=nb_read_packets", "-of", "csv=p=0", path});
    p.waitForFinished(-1);
    bool ok = false;
    const int n = QString::fromLatin1(p.readAllStandardOutput()).trimmed().toInt(&ok);
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 && ok ? n : -1;
}
