#include "machine.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

namespace {

QString first_match(const QString& file, const QString& pattern) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QRegularExpressionMatch m =
        QRegularExpression(pattern, QRegularExpression::MultilineOption)
            .match(QString::fromUtf8(f.readAll()));
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

QString ffmpeg_version() {
    QProcess p;
    p.start("ffmpeg", {"-hide_banner", "-version"});
    p.waitForFinished(-1);
    const QString first = QString::fromUtf8(p.readAllStandardOutput()).section('\n', 0, 0);
    return first.section(' ', 0, 2);
}

} // namespace

QString machine_description() {
    const double memGiB =
        first_match("/proc/meminfo", "^MemTotal:\\s*(\\d+)").toDouble() / (1024.0 * 1024.0);
    QString system = first_match("/etc/os-release", "^PRETTY_NAME=\"?([^\"\\n]*)");
    const QString debian = first_match("/etc/debian_version", "^(.*)$");
    if (!debian.isEmpty())
        system += " (" + debian + ")";
    return QString("%1 cores (nproc), CPU \"%2\", %3 GiB memory, %4, %5")
        .arg(QThread::idealThreadCount())
        .arg(first_match("/proc/cpuinfo", "^model name\\s*:\\s*(.*)$"))
        .arg(memGiB, 0, 'f', 1)
        .arg(system, ffmpeg_version());
}
