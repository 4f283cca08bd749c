// The transcoding component and the lookup of the `ffmpeg` program: real runs on tiny clips,
// and stand-in `ffmpeg` scripts for the paths a real run cannot be made to take.

#include "fixtures.h"
#include "platform/ffencoder.h"
#include "platform/fflibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>
#include <algorithm>
#include <map>

namespace {

// Records every report of an encoder and checks the rules every run must keep.
struct Recorder {
    struct Event {
        bool progress;
        TProgressInfo p;
        TTerminateInfo t;
    };
    QVector<Event> events;
    QString ackFolder; // when set, each progress report is answered with a file "ack.<n>"
    int progressCount = 0;

    explicit Recorder(TFFEncoder& encoder) {
        QObject::connect(&encoder, &TFFEncoder::OnProgress, &encoder,
                         [this](const TProgressInfo& p) {
                             events.push_back({true, p, {}});
                             ++progressCount;
                             if (!ackFolder.isEmpty()) {
                                 QFile ack(ackFolder + QString("/ack.%1").arg(progressCount));
                                 QVERIFY(ack.open(QIODevice::WriteOnly));
                             }
                         });
        QObject::connect(&encoder, &TFFEncoder::OnTerminate, &encoder,
                         [this](const TTerminateInfo& t) {
                             events.push_back({false, {}, t});
                         });
    }

    int finals() const {
        return int(std::count_if(events.begin(), events.end(),
                                 [](const Event& e) { return !e.progress && e.t.TaskIndex < 0; }));
    }
    QVector<int64_t> currents(int task) const {
        QVector<int64_t> list;
        for (const Event& e : events)
            if (e.progress && e.p.TaskIndex == task)
                list << e.p.CurrentDuration;
        return list;
    }
    TTerminateInfo end(int task) const {
        for (const Event& e : events)
            if (!e.progress && e.t.TaskIndex == task)
                return e.t;
        return {-2, false, false, "no report"};
    }

    // One end report per task, the final report once and last; progress only moves forward
    // within 0..total and comes before its task's end; a finished task reached its total.
    void verifyRules(int tasks) const {
        QCOMPARE(finals(), 1);
        QVERIFY(!events.last().progress);
        const TTerminateInfo& last = events.last().t;
        QCOMPARE(last.TaskIndex, -1);
        QVERIFY(last.Finished);
        QVERIFY(!last.Exception);
        QVERIFY(last.ExceptionMsg.isEmpty());
        std::map<int, int> ends;
        std::map<int, int64_t> reached, totals;
        for (const Event& e : events) {
            if (e.progress) {
                const int task = e.p.TaskIndex;
                QVERIFY2(!ends.count(task), "progress after the task's end");
                QVERIFY(e.p.CurrentDuration >= 0);
                QVERIFY(e.p.CurrentDuration <= e.p.TotalDuration);
                if (reached.count(task)) {
                    QVERIFY(e.p.CurrentDuration >= reached[task]);
                    QCOMPARE(e.p.TotalDuration, totals[task]);
                }
                reached[task] = e.p.CurrentDuration;
                totals[task] = e.p.TotalDuration;
            } else if (e.t.TaskIndex >= 0) {
                ++ends[e.t.TaskIndex];
                if (e.t.Finished && totals.count(e.t.TaskIndex))
                    QCOMPARE(reached[e.t.TaskIndex], totals[e.t.TaskIndex]);
            }
        }
        QCOMPARE(int(ends.size()), tasks);
        for (const auto& [task, count] : ends) {
            QVERIFY(task >= 0 && task < tasks);
            QCOMPARE(count, 1);
        }
    }
};

// Waits for the final report, then gives stray reports a chance to show up.
#define WAIT_FOR_FINAL(recorder)                                                                   \
    do {                                                                                           \
        QTRY_VERIFY_WITH_TIMEOUT((recorder).finals() > 0, 120000);                                 \
        QTest::qWait(100);                                                                         \
    } while (0)

TInputOptions input(const QString& options) {
    return {QString(), options};
}
TOutputOptions output(const QString& options) {
    return {QString(), options};
}

const QString kScriptHead =
    "#!/bin/bash\n"
    "dir=$(dirname \"$0\")\n"
    "if [ \"$1\" = -version ]; then echo 'ffmpeg version stand-in'; exit 0; fi\n"
    // waits until the test has seen progress report number $1
    "ack() { for i in $(seq 1 400); do [ -e \"$dir/ack.$1\" ] && return; "
    "sleep 0.05; done; echo \"no ack $1\" >&2; exit 9; }\n";

// Writes a stand-in `ffmpeg` into a folder of its own and returns the folder.
QString standin(const QString& name, const QString& body) {
    const QString folder = fixtures::temp_folder("stand-in " + name);
    QFile script(folder + "/ffmpeg");
    if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(script.fileName()));
    script.write((kScriptHead + body).toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    return folder;
}

QString readText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

class EncoderTest : public QObject {
    Q_OBJECT

    QString systemFolder_;
    QString dir_;    // media made for the tests
    QString clip_;   // 3 s, 160x120 at 25 fps, stereo PCM
    QString images_; // img%d.jpg, 10 images
    QString wav3_;   // 3 s of stereo sound

    void useStandin(const QString& folder) {
        fflibrary::Unload();
        QVERIFY(fflibrary::LoadLibraries(folder));
    }
    // One task on the clip with output " -t 1" (expected total 1 s) to a file in `folder`.
    void addClipTask(TFFEncoder& e, const QString& folder) {
        const int task = e.AddTask(clip_, input(""));
        QVERIFY2(task >= 0, qPrintable(e.LastError()));
        QVERIFY2(e.SetOutput(task, folder + "/out.avi", output(" -t 1")) >= 0,
                 qPrintable(e.LastError()));
    }

  private slots:
    void initTestCase() {
        systemFolder_ = QFileInfo(QStandardPaths::findExecutable("ffmpeg")).absolutePath();
        QVERIFY(!systemFolder_.isEmpty());
        fflibrary::Unload();
        QVERIFY(fflibrary::LoadLibraries(systemFolder_));
        dir_ = fixtures::temp_folder("media");
        fixtures::ClipSpec shape;
        shape.seconds = 3;
        shape.width = 160;
        shape.height = 120;
        shape.codecArgs = {"-c:v", "mpeg4", "-c:a", "pcm_s16le"};
        clip_ = fixtures::make_clip(dir_ + "/clip.avi", shape);
        fixtures::run_ffmpeg(
            {"-f", "lavfi", "-i", "color=c=red:s=32x24:r=25:d=0.4", dir_ + "/img%d.jpg"});
        images_ = dir_ + "/img%d.jpg";
        wav3_ = fixtures::make_rising_wav(dir_ + "/three.wav", 3, 2);
    }

    void cleanup() {
        fflibrary::Unload();
        QVERIFY(fflibrary::LoadLibraries(systemFolder_));
    }

    void loadLibrariesRefuses_data() {
        QTest::addColumn<QString>("script"); // empty: no ffmpeg in the folder
        QTest::addColumn<bool>("executable");
        QTest::newRow("no ffmpeg in the folder") << QString() << true;
        QTest::newRow("-version fails") << QString("#!/bin/bash\nexit 1\n") << true;
        QTest::newRow("not executable") << QString("#!/bin/bash\nexit 0\n") << false;
    }
    void loadLibrariesRefuses() {
        QFETCH(QString, script);
        QFETCH(bool, executable);
        const QString folder = fixtures::temp_folder("load " + QString(QTest::currentDataTag()));
        if (!script.isEmpty()) {
            QFile f(folder + "/ffmpeg");
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(script.toUtf8());
            f.close();
            if (executable)
                f.setPermissions(f.permissions() | QFile::ExeOwner);
        }
        fflibrary::Unload();
        TFFEncoder encoder;
        QVERIFY(!encoder.LoadLibraries(folder));
        QVERIFY(!encoder.LibrariesLoaded());
        QVERIFY(!fflibrary::LibrariesLoaded());
        QVERIFY(fflibrary::ffmpegProgram().isEmpty());
        QVERIFY(fflibrary::LastError().contains(folder));
        QCOMPARE(encoder.LastError(), fflibrary::LastError());
    }

    void firstLoadedFolderServesAll() {
        const QString other = standin("other", "exit 0\n");
        fflibrary::Unload();
        TFFEncoder encoder;
        QVERIFY(encoder.LoadLibraries(systemFolder_));
        QVERIFY(encoder.LibrariesLoaded());
        QCOMPARE(fflibrary::ffmpegProgram(), systemFolder_ + "/ffmpeg");
        QVERIFY(fflibrary::LoadLibraries(other));
        QCOMPARE(fflibrary::ffmpegProgram(), systemFolder_ + "/ffmpeg");
        QVERIFY(TFFEncoder().LibrariesLoaded());
    }

    void addTaskRefuses_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << "missing.avi"
                                      << ""
                                      << "No such file or directory";
        QTest::newRow("missing images") << "none%d.jpg"
                                        << " -framerate 25"
                                        << "No such file or directory";
        QTest::newRow("unknown demuxer") << "clip.avi"
                                         << " -f nosuchdemuxer"
                                         << "nosuchdemuxer";
        QTest::newRow("bad time") << "clip.avi"
                                  << " -ss 1x"
                                  << "Invalid duration";
        QTest::newRow("bad rate") << "img%d.jpg"
                                  << " -framerate fast"
                                  << "Invalid frame rate";
        QTest::newRow("unknown decoder") << "clip.avi"
                                         << " -c:v nosuchdecoder"
                                         << "nosuchdecoder";
        QTest::newRow("unknown option") << "clip.avi"
                                        << " -nosuchoption 1"
                                        << "nosuchoption";
    }
    void addTaskRefuses() {
        QFETCH(QString, file);
        QFETCH(QString, options);
        QFETCH(QString, reason);
        TFFEncoder encoder;
        QVERIFY(encoder.AddTask(clip_, input("")) == 0);
        QVERIFY(encoder.AddTask(dir_ + "/" + file, input(options)) < 0);
        QVERIFY2(encoder.LastError().contains(reason), qPrintable(encoder.LastError()));
        QCOMPARE(encoder.TaskCount(), 1);
        QVERIFY(encoder.AddInput(0, dir_ + "/" + file, input(options)) < 0);
        QVERIFY2(encoder.LastError().contains(reason), qPrintable(encoder.LastError()));
        QCOMPARE(encoder.TaskArguments(0).count("-i"), 1);
    }

    void setOutputRefuses_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("reason");
        QTest::newRow("unknown encoder") << "out.avi"
                                         << " -c:v nosuchcodec"
                                         << "nosuchcodec";
        QTest::newRow("encoder of the other kind") << "out.avi"
                                                   << " -c:a libx264"
                                                   << "libx264";
        QTest::newRow("unknown filter") << "out.avi"
                                        << " -vf nosuchfilter=1"
                                        << "nosuchfilter";
        QTest::newRow("unknown filter later") << "out.avi"
                                              << " -af volume=2,bogus"
                                              << "bogus";
        QTest::newRow("audio filter for video") << "out.avi"
                                                << " -vf volume=2"
                                                << "video";
        QTest::newRow("filter value out of range") << "out.avi"
                                                   << " -af atempo=1000"
                                                   << "atempo=1000";
        QTest::newRow("missing value") << "out.avi"
                                       << " -y -t"
                                       << "Missing argument";
        QTest::newRow("stray word") << "out.avi"
                                    << " -y stray -shortest"
                                    << "'stray'";
        QTest::newRow("unknown option") << "out.avi"
                                        << " -nosuchoption 1"
                                        << "nosuchoption";
        QTest::newRow("bad time") << "out.avi"
                                  << " -t 4:xx"
                                  << "Invalid duration";
        QTest::newRow("unknown extension") << "out.nosuchext"
                                           << ""
                                           << "suitable output format";
        QTest::newRow("unknown format") << "out.avi"
                                        << " -f nosuchformat"
                                        << "nosuchformat";
    }
    void setOutputRefuses() {
        QFETCH(QString, file);
        QFETCH(QString, options);
        QFETCH(QString, reason);
        TFFEncoder encoder;
        QCOMPARE(encoder.AddTask(clip_, input("")), 0);
        QVERIFY(encoder.SetOutput(0, dir_ + "/" + file, output(options)) < 0);
        QVERIFY2(encoder.LastError().contains(reason), qPrintable(encoder.LastError()));
        QCOMPARE(encoder.ExpectedDuration(0), 0);
    }

    // Option texts the program builds must pass.
    void setOutputAccepts_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("options");
        QTest::newRow("frames") << "to%d.jpg"
                                << " -t 00:00:04.000 -y -q:v 0 -f image2";
        QTest::newRow("sound") << "original.wav"
                               << " -t 00:00:04.000 -y -q:a 0";
        QTest::newRow("assembly avi")
            << "rev.avi"
            << " -y -shortest -c:v mpeg4 -q:v 0 -q:a 0 -vf setpts=0.5*PTS,scale=640:480"
               " -af volume=1.5,atempo=2,atempo=1.5";
        QTest::newRow("padding mp4")
            << "rev.mp4"
            << " -y -shortest -c:v libx264 -c:a libmp3lame -b:v 1500000 -aspect 640:480 -vf "
               "scale=640:640/(iw/ih),pad=640:480:0:(oh-ow/(iw/ih))/2:black";
        QTest::newRow("webm") << "rev.webm"
                              << " -y -f webm -c:v libvpx -c:a libvorbis -q:a 0";
        QTest::newRow("wmv") << "rev.wmv"
                             << " -c:v wmv2 -c:a wmav2 -ac 2";
        QTest::newRow("flv by codec name") << "rev.flv"
                                           << " -ar 44100 -c:v flv1 -r 29.97";
        QTest::newRow("rm crop") << "rev.rm"
                                 << " -c:v rv20 -ar 8000 -ac 1 -vf crop=64:48:10:5";
        QTest::newRow("copy and negated flag") << "rev.mkv"
                                               << " -c copy -nostdin -map 0";
    }
    void setOutputAccepts() {
        QFETCH(QString, file);
        QFETCH(QString, options);
        TFFEncoder encoder;
        QCOMPARE(encoder.AddTask(clip_, input(" -ss 00:00:00.500")), 0);
        QVERIFY2(encoder.SetOutput(0, dir_ + "/" + file, output(options)) >= 0,
                 qPrintable(encoder.LastError()));
    }

    // Only JPEG images are told to keep the picture's range, and never against the options.
    void jpegImagesKeepTheRange_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("options");
        QTest::addColumn<bool>("added");
        QTest::newRow("jpeg frames") << "to%d.jpg"
                                     << " -y -q:v 0 -f image2" << true;
        QTest::newRow("by extension") << "to%d.jpeg"
                                      << " -y" << true;
        QTest::newRow("mjpeg named") << "to%d.jpg"
                                     << " -c:v mjpeg -f image2" << true;
        QTest::newRow("png frames") << "to%d.png"
                                    << " -y -f image2" << false;
        QTest::newRow("other encoder") << "to%d.jpg"
                                       << " -f image2 -vcodec png" << false;
        QTest::newRow("strictness given") << "to%d.jpg"
                                          << " -f image2 -strict normal" << false;
        QTest::newRow("mjpeg video") << "rev.avi"
                                     << " -c:v mjpeg" << false;
    }
    void jpegImagesKeepTheRange() {
        QFETCH(QString, file);
        QFETCH(QString, options);
        QFETCH(bool, added);
        TFFEncoder encoder;
        QCOMPARE(encoder.AddTask(clip_, input("")), 0);
        QCOMPARE(encoder.SetOutput(0, dir_ + "/" + file, output(options)), 0);
        const QStringList own{"-strict", "unofficial", dir_ + "/" + file};
        QCOMPARE(encoder.TaskArguments(0).mid(encoder.TaskArguments(0).size() - 3) == own, added);
    }

    void expectedTotals_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("firstOptions");
        QTest::addColumn<QString>("second"); // empty: none
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("options");
        QTest::addColumn<qint64>("expected");
        const QString c = "clip", i = "images", w = "wav";
        QTest::newRow("whole clip") << c << ""
                                    << ""
                                    << "o.avi"
                                    << "" << qint64(3000000);
        QTest::newRow("-ss, output -t") << c << " -ss 00:00:01.000"
                                        << ""
                                        << "o.avi"
                                        << " -t 00:00:01.500" << qint64(1500000);
        QTest::newRow("-ss keeps the rest") << c << " -ss 2.5"
                                            << ""
                                            << "o.avi"
                                            << "" << qint64(500000);
        QTest::newRow("input -t") << c << " -t 1"
                                  << ""
                                  << "o.avi"
                                  << "" << qint64(1000000);
        QTest::newRow("-t beyond the rest") << c << " -ss 2"
                                            << ""
                                            << "o.avi"
                                            << " -t 5" << qint64(1000000);
        QTest::newRow("-ss beyond the end") << c << " -ss 5"
                                            << ""
                                            << "o.avi"
                                            << "" << qint64(0);
        QTest::newRow("input -ss and -to") << c << " -ss 0.5 -to 2"
                                           << ""
                                           << "o.avi"
                                           << "" << qint64(1500000);
        QTest::newRow("-sseof") << c << " -sseof -1"
                                << ""
                                << "o.avi"
                                << "" << qint64(1000000);
        QTest::newRow("output -ss") << c << ""
                                    << ""
                                    << "o.avi"
                                    << " -ss 1" << qint64(2000000);
        QTest::newRow("setpts stretches, no sound") << c << ""
                                                    << ""
                                                    << "o.avi"
                                                    << " -an -vf setpts=2*PTS" << qint64(6000000);
        QTest::newRow("setpts shrinks, sound is longer")
            << c << ""
            << ""
            << "o.avi"
            << " -vf setpts=0.5*PTS" << qint64(3000000);
        QTest::newRow("setpts shrinks, -shortest")
            << c << ""
            << ""
            << "o.avi"
            << " -shortest -vf setpts=0.5*PTS" << qint64(1500000);
        QTest::newRow("atempo chain, no video")
            << c << ""
            << ""
            << "o.avi"
            << " -vn -af atempo=2,atempo=1.5" << qint64(1000000);
        QTest::newRow("wav takes only the sound") << c << ""
                                                  << ""
                                                  << "o.wav"
                                                  << " -af atempo=2" << qint64(1500000);
        QTest::newRow("images take only the pictures")
            << c << ""
            << ""
            << "to%d.jpg"
            << " -f image2 -vf setpts=0.5*PTS" << qint64(1500000);
        QTest::newRow("image sequence at 25") << i << ""
                                              << ""
                                              << "o.avi"
                                              << "" << qint64(400000);
        QTest::newRow("image sequence -framerate 5") << i << " -framerate 5"
                                                     << ""
                                                     << "o.avi"
                                                     << "" << qint64(2000000);
        QTest::newRow("image sequence -framerate 30000/1001") << i << " -framerate 30000/1001"
                                                              << ""
                                                              << "o.avi"
                                                              << "" << qint64(333667);
        QTest::newRow("images and longer sound") << i << " -framerate 5" << w << "o.avi"
                                                 << "" << qint64(3000000);
        QTest::newRow("images and longer sound, -shortest") << i << " -framerate 5" << w << "o.avi"
                                                            << " -shortest" << qint64(2000000);
        QTest::newRow("assembly, longest")
            << i << " -framerate 5" << w << "o.avi"
            << " -y -c:v mpeg4 -vf setpts=0.5*PTS,scale=64:48 -af volume=1.5,atempo=2"
            << qint64(1500000);
        QTest::newRow("assembly, -shortest")
            << i << " -framerate 5" << w << "o.avi"
            << " -y -shortest -c:v mpeg4 -vf setpts=0.5*PTS,scale=64:48 -af volume=1.5,atempo=2"
            << qint64(1000000);
        QTest::newRow("assembly, -an") << i << " -framerate 5" << w << "o.avi"
                                       << " -an -af atempo=0.5" << qint64(2000000);
    }
    void expectedTotals() {
        QFETCH(QString, first);
        QFETCH(QString, firstOptions);
        QFETCH(QString, second);
        QFETCH(QString, file);
        QFETCH(QString, options);
        QFETCH(qint64, expected);
        const std::map<QString, QString> files{
            {"clip", clip_}, {"images", images_}, {"wav", wav3_}};
        TFFEncoder encoder;
        QCOMPARE(encoder.AddTask(files.at(first), input(firstOptions)), 0);
        if (!second.isEmpty())
            QCOMPARE(encoder.AddInput(0, files.at(second), input("")), 1);
        QCOMPARE(encoder.ExpectedDuration(0), 0); // no output yet
        QVERIFY2(encoder.SetOutput(0, dir_ + "/" + file, output(options)) >= 0,
                 qPrintable(encoder.LastError()));
        QCOMPARE(encoder.ExpectedDuration(0), expected);
    }

    // The two stages of a job on the real ffmpeg: frames and sound out of a segment, then
    // the images read back at a frame rate, with the sound, into a video.
    void extractionThenAssembly() {
        const QString work = fixtures::temp_folder("work");
        TFFEncoder extraction;
        Recorder rec(extraction);
        QCOMPARE(extraction.AddTask(clip_, input(" -ss 00:00:00.500")), 0);
        QCOMPARE(extraction.SetOutput(0, work + "/to%d.jpg",
                                      output(" -t 00:00:01.000 -y -q:v 0 -f image2")),
                 0);
        QCOMPARE(extraction.AddTask(clip_, input(" -ss 00:00:00.500")), 1);
        QCOMPARE(
            extraction.SetOutput(1, work + "/original.wav", output(" -t 00:00:01.000 -y -q:a 0")),
            0);
        extraction.StartTask(3);
        QVERIFY(extraction.Running());
        QVERIFY(rec.events.isEmpty()); // nothing is reported from inside StartTask
        WAIT_FOR_FINAL(rec);
        rec.verifyRules(2);
        QVERIFY(!extraction.Running());
        for (int task : {0, 1}) {
            QVERIFY2(rec.end(task).Finished, qPrintable(rec.end(task).ExceptionMsg));
            QVERIFY(!rec.end(task).Exception);
            QCOMPARE(rec.currents(task).last(), 1000000);
        }
        QVERIFY(QFile::exists(work + "/to25.jpg"));
        QVERIFY(!QFile::exists(work + "/to26.jpg"));
        // the images keep the clip's limited range instead of being converted to full range
        QCOMPARE(fixtures::probe(clip_).pixelFormat, QString("yuv420p"));
        QCOMPARE(fixtures::probe(work + "/to1.jpg").pixelFormat, QString("yuv420p"));
        QVERIFY(std::abs(fixtures::probe(work + "/original.wav").duration - 1.0) < 0.05);

        TFFEncoder assembly;
        Recorder rec2(assembly);
        QCOMPARE(assembly.AddTask(work + "/to%d.jpg", input(" -framerate 30000/1001")), 0);
        QCOMPARE(assembly.AddInput(0, work + "/original.wav", input("")), 1);
        QCOMPARE(assembly.SetOutput(0, work + "/rev.avi",
                                    output(" -y -shortest -c:v mpeg4 -q:v 0 -q:a 0 -vf "
                                           "setpts=0.5*PTS,scale=80:60 -af volume=1.5,atempo=2")),
                 0);
        // pictures 25 × 1001/30000 s = 834167 µs, halved; sound 1 s / 2: pictures are shorter
        QCOMPARE(assembly.ExpectedDuration(0), 417084);
        assembly.StartTask(3);
        WAIT_FOR_FINAL(rec2);
        rec2.verifyRules(1);
        QVERIFY2(rec2.end(0).Finished, qPrintable(rec2.end(0).ExceptionMsg));
        QCOMPARE(rec2.currents(0).last(), 417084);
        const fixtures::StreamFacts facts = fixtures::probe(work + "/rev.avi");
        QCOMPARE(facts.videoCodec, QString("mpeg4"));
        QCOMPARE(facts.pixelFormat, QString("yuv420p"));
        QCOMPARE(facts.width, 80);
        QCOMPARE(facts.channels, 2);
        QVERIFY(facts.frames > 0);
    }

    void failedRunGivesFfmpegsText() {
        TFFEncoder encoder;
        Recorder rec(encoder);
        QCOMPARE(encoder.AddTask(clip_, input("")), 0);
        QCOMPARE(encoder.SetOutput(0, dir_ + "/no such folder/out.avi", output(" -y")), 0);
        encoder.StartTask(1);
        WAIT_FOR_FINAL(rec);
        rec.verifyRules(1);
        const TTerminateInfo end = rec.end(0);
        QVERIFY(!end.Finished);
        QVERIFY(end.Exception);
        QVERIFY2(end.ExceptionMsg.contains("No such file or directory"),
                 qPrintable(end.ExceptionMsg));
        QCOMPARE(end.ExceptionMsg, end.ExceptionMsg.trimmed());
    }

    // The real ffmpeg ends on "q" and still closes its output properly.
    void stoppingRealRun() {
        TFFEncoder encoder;
        Recorder rec(encoder);
        QCOMPARE(encoder.AddTask(clip_, input(" -re")), 0);
        const QString out = fixtures::temp_folder("real stop") + "/out.avi";
        QCOMPARE(encoder.SetOutput(0, out, output(" -y -c:v mpeg4")), 0);
        encoder.StartTask(1);
        QTRY_VERIFY_WITH_TIMEOUT(!rec.currents(0).isEmpty(), 20000);
        encoder.StopTasks(true);
        QCOMPARE(rec.finals(), 1);
        rec.verifyRules(1);
        QVERIFY(!rec.end(0).Finished);
        QVERIFY(!rec.end(0).Exception);
        QVERIFY(fixtures::probe(out).frames > 0);
    }

    void awkwardFileNames() {
        const QString folder = fixtures::temp_folder("odd names");
        const QString odd = folder + "/it's a \"clip\" äé.avi";
        QVERIFY(QFile::copy(clip_, odd));
        QVERIFY(QFile::copy(clip_, folder + "/-lead.avi"));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder));
        TFFEncoder encoder;
        Recorder rec(encoder);
        QCOMPARE(encoder.AddTask(odd, input(" -ss  0.5 ")), 0);
        QCOMPARE(encoder.SetOutput(0, "-out ü 'q'.avi", output(" -t 1  -y")), 0);
        QCOMPARE(encoder.AddTask("-lead.avi", input("")), 1);
        QCOMPARE(encoder.SetOutput(1, "-frame%d.jpg", output(" -frames:v 2 -y")), 0);
        QVERIFY(QDir::setCurrent(before));
        const QStringList fixed{"-hide_banner", "-nostats",  "-loglevel",
                                "error",        "-progress", "pipe:1"};
        const QStringList first{"-ss", "0.5", "-i", odd,
                                "-t",  "1",   "-y", folder + "/-out ü 'q'.avi"};
        const QStringList second{
            "-i",         folder + "/-lead.avi",   "-frames:v", "2", "-y", "-strict",
            "unofficial", folder + "/-frame%d.jpg"};
        QCOMPARE(encoder.TaskArguments(0), fixed + first);
        QCOMPARE(encoder.TaskArguments(1), fixed + second);
        encoder.StartTask(2);
        WAIT_FOR_FINAL(rec);
        rec.verifyRules(2);
        QVERIFY2(rec.end(0).Finished, qPrintable(rec.end(0).ExceptionMsg));
        QVERIFY2(rec.end(1).Finished, qPrintable(rec.end(1).ExceptionMsg));
        QVERIFY(fixtures::probe(folder + "/-out ü 'q'.avi").frames > 0);
        QVERIFY(QFile::exists(folder + "/-frame2.jpg"));
    }

    // Blocks cut anywhere, CR LF ends, N/A and negative times, a time going back, a time
    // past the total; with the stand-in waiting for each report so none is merged.
    void progressParsing_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QVector<int64_t>>("currents");
        QTest::addColumn<bool>("finished");
        QTest::newRow("cut blocks, clamped at the total")
            << QString("printf 'frame=1\\nout_time_us=N/A\\nprogress=continue\\n'\n"
                       "printf 'out_ti'; sleep 0.1; printf 'me_us=250'; sleep 0.1\n"
                       "printf '000\\r\\nprogress=contin'; sleep 0.1; printf 'ue\\n'; ack 1\n"
                       "printf 'out_time_us=-40000\\nprogress=continue\\n'; sleep 0.1\n"
                       "printf 'out_time_us=500000\\nspeed=1x\\nprogress=continue\\n'; ack 2\n"
                       "printf 'out_time_us=400000\\nprogress=continue\\n'; sleep 0.1\n"
                       "printf 'out_time_us=99000000\\nprogress=continue\\n'; ack 3\n"
                       "printf 'out_time_us=N/A\\nprogress=end\\n'\n"
                       "exit 0\n")
            << QVector<int64_t>{250000, 500000, 1000000} << true;
        QTest::newRow("a time without its block end is not taken")
            << QString("printf 'out_time_us=250000\\nprogress=continue\\n'; ack 1\n"
                       "printf 'out_time_us=600000\\n'\n"
                       "exit 0\n")
            << QVector<int64_t>{250000, 1000000} << true;
        QTest::newRow("a failed run does not reach the total")
            << QString("printf 'out_time_us=250000\\nprogress=continue\\n'; ack 1\n"
                       "echo 'Conversion failed!' >&2\n"
                       "exit 1\n")
            << QVector<int64_t>{250000} << false;
    }
    void progressParsing() {
        QFETCH(QString, body);
        QFETCH(QVector<int64_t>, currents);
        QFETCH(bool, finished);
        const QString folder = standin(QString("progress ") + QTest::currentDataTag(), body);
        useStandin(folder);
        TFFEncoder encoder;
        Recorder rec(encoder);
        rec.ackFolder = folder;
        addClipTask(encoder, folder);
        encoder.StartTask(1);
        WAIT_FOR_FINAL(rec);
        rec.verifyRules(1);
        QCOMPARE(rec.currents(0), currents);
        for (const Recorder::Event& e : rec.events)
            if (e.progress)
                QCOMPARE(e.p.TotalDuration, 1000000);
        QCOMPARE(rec.end(0).Finished, finished);
        QCOMPARE(rec.end(0).Exception, !finished);
    }

    void failingRuns_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("removeProgram");
        QTest::addColumn<QString>("message"); // expected start of the error message
        QTest::newRow("error text, exit 1")
            << "echo '  out.avi: Invalid data found when processing input' >&2\nexit 1\n"
            << false << "out.avi: Invalid data found when processing input";
        QTest::newRow("silent exit 3") << "exit 3\n" << false << "ffmpeg exited with code 3";
        QTest::newRow("crash") << "kill -SEGV $$\n" << false << "ffmpeg crashed";
        QTest::newRow("program gone") << "exit 0\n" << true << "Cannot start";
    }
    void failingRuns() {
        QFETCH(QString, body);
        QFETCH(bool, removeProgram);
        QFETCH(QString, message);
        const QString folder = standin(QString("fail ") + QTest::currentDataTag(), body);
        useStandin(folder);
        if (removeProgram)
            QVERIFY(QFile::remove(folder + "/ffmpeg"));
        TFFEncoder encoder;
        Recorder rec(encoder);
        addClipTask(encoder, folder);
        encoder.StartTask(1);
        WAIT_FOR_FINAL(rec);
        rec.verifyRules(1);
        const TTerminateInfo end = rec.end(0);
        QVERIFY(!end.Finished);
        QVERIFY(end.Exception);
        QVERIFY2(end.ExceptionMsg.startsWith(message), qPrintable(end.ExceptionMsg));
    }

    void successWithWarningsHasNoMessage() {
        useStandin(standin("warnings", "echo 'some warning' >&2\n"
                                       "printf 'out_time_us=1000000\\nprogress=end\\n'\nexit 0\n"));
        TFFEncoder encoder;
        Recorder rec(encoder);
        addClipTask(encoder, dir_);
        encoder.StartTask(1);
        WAIT_FOR_FINAL(rec);
        rec.verifyRules(1);
        QVERIFY(rec.end(0).Finished);
        QVERIFY(!rec.end(0).Exception);
        QVERIFY(rec.end(0).ExceptionMsg.isEmpty());
    }

    // A stop sends "q", then terminates, then kills; the task that had not started never
    // starts; every report still arrives.
    void stopping_data() {
        QTest::addColumn<QString>("onQ");
        QTest::addColumn<QString>("onTerm");
        QTest::addColumn<QString>("log");
        QTest::addColumn<bool>("wait");
        QTest::newRow("ends on q")
            << QString("exit 0") << QString("exit 0") << QString("start|got:q|") << true;
        QTest::newRow("ignores q, ends on TERM")
            << QString(":") << QString("exit 0") << QString("start|got:q|TERM|") << true;
        QTest::newRow("ignores q and TERM")
            << QString(":") << QString(":") << QString("start|got:q|TERM|") << true;
        QTest::newRow("no wait") << QString(":") << QString(":") << QString("start|got:q|TERM|")
                                 << false;
    }
    void stopping() {
        QFETCH(QString, onQ);
        QFETCH(QString, onTerm);
        QFETCH(QString, log);
        QFETCH(bool, wait);
        const QString body =
            QString("echo -n 'start|' >> \"$dir/log\"\n"
                    "trap 'echo -n \"TERM|\" >> \"$dir/log\"; %2' TERM\n"
                    "printf 'out_time_us=100000\\nprogress=continue\\n'\n"
                    "while true; do\n"
                    "  if read -r -t 0.1 line; then echo -n \"got:$line|\" >> \"$dir/log\";\n"
                    "    [ \"$line\" = q ] && %1; fi\n"
                    "done\n")
                .arg(onQ, onTerm);
        const QString folder = standin(QString("stop ") + QTest::currentDataTag(), body);
        useStandin(folder);
        TFFEncoder encoder;
        Recorder rec(encoder);
        addClipTask(encoder, folder);
        addClipTask(encoder, folder);
        encoder.StartTask(1);
        QTRY_VERIFY_WITH_TIMEOUT(!rec.currents(0).isEmpty(), 20000);
        encoder.StopTasks(wait);
        if (wait) {
            QCOMPARE(rec.finals(), 1); // every report came inside the wait
        } else {
            QCOMPARE(rec.end(0).TaskIndex, -2); // no report came inside the call
            QVERIFY(encoder.Running());
        }
        WAIT_FOR_FINAL(rec);
        rec.verifyRules(2);
        QVERIFY(!encoder.Running());
        for (int task : {0, 1}) {
            QVERIFY(!rec.end(task).Finished);
            QVERIFY(!rec.end(task).Exception);
        }
        QCOMPARE(readText(folder + "/log"), log);
    }

    void stopBeforeStartRunsNothing() {
        const QString folder = standin("stop before start", "touch \"$dir/ran\"\n");
        useStandin(folder);
        TFFEncoder encoder;
        Recorder rec(encoder);
        addClipTask(encoder, folder);
        encoder.StartTask(1);
        encoder.StopTasks(false);
        QVERIFY(rec.events.isEmpty());
        WAIT_FOR_FINAL(rec);
        rec.verifyRules(1);
        QVERIFY(!rec.end(0).Finished);
        QVERIFY(!rec.end(0).Exception);
        QVERIFY(!QFile::exists(folder + "/ran"));
    }

    // Each run notes how many runs exist when it starts, then waits until a second run has
    // arrived, so a limit of one would time out and a missing limit would count three.
    void atMostTwoAtOnce() {
        const QString folder = standin(
            "two at once",
            "touch \"$dir/running.$$\"\n"
            "ls \"$dir\" | grep -c '^running\\.' >> \"$dir/counts\"\n"
            "touch \"$dir/arrived.$$\"\n"
            "for i in $(seq 1 400); do\n"
            "  [ $(ls \"$dir\" | grep -c '^arrived\\.') -ge 2 ] && break; sleep 0.05; done\n"
            "[ $(ls \"$dir\" | grep -c '^arrived\\.') -ge 2 ] || exit 5\n"
            "sleep 0.3\n"
            "rm \"$dir/running.$$\"\n"
            "printf 'out_time_us=1000000\\nprogress=end\\n'\n");
        useStandin(folder);
        TFFEncoder encoder;
        Recorder rec(encoder);
        for (int i = 0; i < 3; ++i)
            addClipTask(encoder, folder);
        encoder.StartTask(2);
        WAIT_FOR_FINAL(rec);
        rec.verifyRules(3);
        for (int task : {0, 1, 2})
            QVERIFY2(rec.end(task).Finished, qPrintable(rec.end(task).ExceptionMsg));
        const QStringList counts = readText(folder + "/counts").split('\n', Qt::SkipEmptyParts);
        QCOMPARE(counts.size(), 3);
        QCOMPARE(*std::max_element(counts.begin(), counts.end()), QString("2"));
    }

    void emptyListStillEnds() {
        TFFEncoder encoder;
        Recorder rec(encoder);
        encoder.StartTask(3);
        WAIT_FOR_FINAL(rec);
        rec.verifyRules(0);
    }

    void listEditing() {
        TFFEncoder encoder;
        for (const char* options : {" -ss 1", " -ss 2", " -ss 3"})
            QVERIFY(encoder.AddTask(clip_, input(options)) >= 0);
        encoder.RemoveTask(1);
        QCOMPARE(encoder.TaskCount(), 2);
        QCOMPARE(encoder.TaskArguments(1).mid(6, 2), QStringList({"-ss", "3"}));
        QVERIFY(encoder.TaskArguments(5).isEmpty());
        QVERIFY(encoder.SetOutput(5, dir_ + "/o.avi", output("")) < 0);
        encoder.ClearTasks();
        QCOMPARE(encoder.TaskCount(), 0);
        TInputOptions in{"x", " -t 1"};
        encoder.ResetInputOptions(in);
        QVERIFY(in.FileName.isEmpty() && in.Options.isEmpty());
    }
};

QTEST_GUILESS_MAIN(EncoderTest)
#include "test_encoder.moc"
