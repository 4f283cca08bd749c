#include "measured_ffmpeg.h"

#include "cpu_time.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <sys/resource.h>

namespace {

constexpr int64_t kGiB = int64_t(1) << 30;
constexpr int64_t kWantedLimit = 20 * kGiB;
constexpr int64_t kKeepFree = 3 * kGiB;

int64_t memory_available() {
    QFile meminfo("/proc/meminfo");
    if (!meminfo.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : meminfo.readAll().split('\n'))
        if (line.startsWith("MemAvailable:"))
            return line.mid(13).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}

} // namespace

int64_t one_command_memory_limit() {
    bool given = false;
    const double gib = qEnvironmentVariable("TOLVANE_BENCH_REVERSE_LIMIT_GIB").toDouble(&given);
    if (given && gib > 0)
        return int64_t(gib * double(kGiB));
    const int64_t available = memory_available();
    if (available <= kKeepFree)
        return kWantedLimit;
    return std::min(kWantedLimit, available - kKeepFree);
}

MeasuredRun run_measured_ffmpeg(const QStringList& args, int64_t addressSpaceLimit) {
    MeasuredRun run;
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.setStandardOutputFile(QProcess::nullDevice());
    if (addressSpaceLimit > 0)
        p.setChildProcessModifier([addressSpaceLimit] {
            const rlimit limit{rlim_t(addressSpaceLimit), rlim_t(addressSpaceLimit)};
            setrlimit(RLIMIT_AS, &limit);
        });
    Sampler sampler;
    const double before = cpu_times().children;
    QElapsedTimer clock;
    clock.start();
    p.start("ffmpeg", QStringList{"-hide_banner", "-nostats", "-loglevel", "error"} + args);
    p.waitForFinished(-1);
    run.seconds = double(clock.nsecsElapsed()) / 1e9;
    run.peaks = sampler.stop();
    run.cpuSeconds = cpu_times().children - before;
    run.crashed = p.exitStatus() == QProcess::CrashExit;
    run.exitCode = p.exitCode();
    run.ok = !run.crashed && run.exitCode == 0 && p.error() != QProcess::FailedToStart;
    run.error = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    if (!run.ok && run.error.isEmpty())
        run.error = p.errorString();
    return run;
}

namespace {

bool mentions_memory(const QString& line) {
    const QString l = line.toLower();
    return l.contains("alloc") || l.contains("memory");
}

} // namespace

bool out_of_memory(const MeasuredRun& run) {
    return run.crashed || mentions_memory(run.error);
}

QString failure_reason(const MeasuredRun& run) {
    const QStringList lines = run.error.split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines)
        if (mentions_memory(line))
            return line.trimmed();
    return lines.isEmpty() ? QString() : lines.back().trimmed();
}
