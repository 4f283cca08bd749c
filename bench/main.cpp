// tolvane_bench: whole reverse jobs through the program's own job code, compared with a
// plain transcode and with FFmpeg's one-command reverse, and the job's smaller parts.
//   tolvane_bench            every case
//   tolvane_bench NAME ...   the named cases (tolvane_bench --list names them)
#include "cases.h"
#include "machine.h"
#include "report.h"
#include "stats.h"
#include "units.h"

#include "common/workfolder.h"

#include <QApplication>
#include <QFile>
#include <QStandardPaths>
#include <cstdio>

namespace {

constexpr int kRenameFiles = 10000;
constexpr int kRenameRounds = 5;
constexpr int kAudioRounds = 5;
constexpr int kDragSteps = 100;
constexpr int kRandomSteps = 50;

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

QString ms(double seconds) {
    return QString::number(seconds * 1e3, 'f', 1) + " ms";
}

void run_rename(RunResults& results) {
    say("== rename");
    const RenameBenchResult r = run_rename_bench(kRenameFiles, kRenameRounds);
    say(r.ok ? QString("  renaming %1 files: median %2, worst %3")
                   .arg(r.files)
                   .arg(ms(median(r.seconds)), ms(worst(r.seconds)))
             : "  failed: " + r.error);
    results.rename = r;
}

void run_audio(RunResults& results) {
    say("== audio");
    const QString wav = ensure_wav(kAudioWav, kAudioSeconds);
    AudioBenchResult r;
    if (wav.isEmpty())
        r.error = "the WAV could not be made";
    else
        r = run_audio_bench(wav, kAudioRounds);
    say(r.ok ? QString("  %1 WAV: reversal %2 MB/s, reading + writing once %3 MB/s (32-bit "
                       "samples), %4 MB/s (16-bit samples)")
                   .arg(mb(r.bytes))
                   .arg(r.reverseMBps, 0, 'f', 0)
                   .arg(r.copyMBps, 0, 'f', 0)
                   .arg(r.shortCopyMBps, 0, 'f', 0)
             : "  failed: " + r.error);
    results.audio = r;
}

void run_scrub(RunResults& results) {
    say("== scrub");
    const QString clip = ensure_clip(scrub_clip());
    ScrubBenchResult r;
    if (clip.isEmpty())
        r.error = "the clip could not be made";
    else
        r = run_scrub_bench(clip, kDragSteps, kRandomSteps);
    if (r.ok) {
        say(QString("  drag over %1 frames: median %2, worst %3")
                .arg(r.frames)
                .arg(ms(median(r.drag)), ms(worst(r.drag))));
        say(QString("  random positions: median %1, worst %2")
                .arg(ms(median(r.random)), ms(worst(r.random))));
    } else {
        say("  failed: " + r.error);
    }
    results.scrub = r;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The program's own work folder, away from the user's and from the tests'.
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName("tolvane-bench");
    QApplication::setApplicationName("tolvane");

    QStringList wanted = QApplication::arguments().mid(1);
    const QStringList names = case_names();
    if (wanted.contains("--list")) {
        say(names.join('\n'));
        return 0;
    }
    for (const QString& name : wanted)
        if (!names.contains(name)) {
            say("unknown case " + name + "; the cases are: " + names.join(", "));
            return 2;
        }
    if (wanted.isEmpty())
        wanted = names;

    RunResults results;
    results.machine = machine_description();
    say("machine: " + results.machine);
    say("inputs: " + input_folder());
    say("work folder: " + work_folder());

    bool failed = false;
    for (const QString& name : names) {
        if (!wanted.contains(name))
            continue;
        if (name == "rename")
            run_rename(results);
        else if (name == "audio")
            run_audio(results);
        else if (name == "scrub")
            run_scrub(results);
        for (const JobCase& c : job_cases())
            if (c.name == name) {
                results.jobs << run_job_case(c);
                failed = failed || !results.jobs.back().ok;
            }
    }
    failed = failed || (results.audio && !results.audio->ok) ||
             (results.rename && !results.rename->ok) || (results.scrub && !results.scrub->ok);

    const QString markdown = markdown_report(results);
    say("\n---- Markdown ----\n" + markdown + "---- end ----");
    const QString reportFile = qEnvironmentVariable("TOLVANE_BENCH_REPORT");
    if (!reportFile.isEmpty()) {
        QFile f(reportFile);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(markdown.toUtf8());
    }
    return failed ? 1 : 0;
}
