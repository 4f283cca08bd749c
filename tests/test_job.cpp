// Whole reverse jobs with real FFmpeg, checked on the output file itself.
#include "fixtures.h"
#include "window_fixture.h"

#include "common/workfolder.h"
#include "job/joblock.h"
#include "platform/rxslider.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

bool falling(const QVector<double>& values) {
    for (qsizetype i = 1; i < values.size(); ++i)
        if (values[i] > values[i - 1] + 0.5)
            return false;
    return values.size() > 1 && values.front() > values.back() + 10;
}

bool rising_loudness(const QVector<double>& v) {
    return v.size() >= 4 && v.front() < v.back() * 0.5 && v[1] < v[2] && v[2] < v.back();
}

bool falling_loudness(const QVector<double>& v) {
    return v.size() >= 4 && v.back() < v.front() * 0.5 && v[1] > v[2] && v[2] > v.back();
}

QStringList texts(const ScriptedDialogService& d) {
    return d.texts();
}

} // namespace

class JobTest : public QObject {
    Q_OBJECT
    QString folder;
    QString stereo; // 2 s, 25 fps, 320 x 240, stereo sound rising in loudness
    QString intra;  // the same as MPEG-4 with every frame a key frame, nearly lossless

    // Runs the Reverse command to `output` and waits for the end message.
    void reverse(Windows& w, const QString& output) {
        w.dialogs.saveAnswers.push_back(output);
        w.main->BitBtn1Click();
        QTRY_VERIFY_WITH_TIMEOUT(texts(w.dialogs).contains("Process is finished!"), 60000);
    }

  private slots:
    void initTestCase() {
        use_test_folders();
        folder = fixtures::temp_folder("jobs");
        // Outputs take the source's bit rate: flat pictures would leave the encoder a few
        // kbit/s, too little to keep each frame's brightness.
        stereo = fixtures::make_clip(folder + "/source clip.mp4", {.seconds = 2, .grain = true});
        intra = fixtures::make_clip(
            folder + "/intra.mkv",
            {.seconds = 2,
             .codecArgs = {"-c:v", "mpeg4", "-g", "1", "-q:v", "1", "-c:a", "pcm_s16le"}});
    }

    void reversedSoundAndPictures() {
        Windows w;
        w.main->load_videofile(stereo);
        w.main->radio_backwardaudio->setChecked(true);
        const QString out = folder + "/reversed Ü.mp4";
        reverse(w, out);
        QCOMPARE(texts(w.dialogs), QStringList{"Process is finished!"});

        const fixtures::StreamFacts facts = fixtures::probe(out);
        QCOMPARE(facts.videoCodec, QString("h264"));
        QCOMPARE(facts.channels, 2);
        QCOMPARE(facts.frames, 50);
        QVERIFY(std::abs(facts.duration - 2.0) < 0.1);
        QVERIFY(falling(fixtures::frame_lumas(out)));
        QVERIFY(falling_loudness(fixtures::channel_loudness(out, 0, 8)));
        QVERIFY(falling_loudness(fixtures::channel_loudness(out, 1, 8)));
        QVERIFY(folder_is_empty(work_folder()));
        QVERIFY(!w.batchaudioc->isVisible());
    }

    void originalSoundKeepsItsDirection() {
        Windows w;
        w.main->load_videofile(stereo);
        const QString out = folder + "/original sound.mkv";
        reverse(w, out);
        QVERIFY(falling(fixtures::frame_lumas(out)));
        QVERIFY(rising_loudness(fixtures::channel_loudness(out, 0, 8)));
    }

    void monoSoundBecomesTwoChannels() {
        const QString mono =
            fixtures::make_clip(folder + "/mono.avi", {.seconds = 2, .channels = 1});
        Windows w;
        w.main->load_videofile(mono);
        w.main->radio_backwardaudio->setChecked(true);
        const QString out = folder + "/mono reversed.avi";
        reverse(w, out);
        QCOMPARE(fixtures::probe(out).channels, 2);
        QVERIFY(falling_loudness(fixtures::channel_loudness(out, 1, 8)));
    }

    void muteGivesNoSoundStream() {
        Windows w;
        w.main->load_videofile(stereo);
        w.main->radio_an->setChecked(true);
        const QString out = folder + "/mute.mp4";
        reverse(w, out);
        const fixtures::StreamFacts facts = fixtures::probe(out);
        QVERIFY(facts.audioCodec.isEmpty());
        QCOMPARE(facts.frames, 50);
    }

    void anotherAudioFileIsCarried() {
        const QString other = fixtures::make_rising_wav(folder + "/other.wav", 3, 2);
        Windows w;
        w.main->load_videofile(stereo);
        w.main->radio_otheraudio->setChecked(true);
        w.main->edit_otheraudio->setText(other);
        const QString out = folder + "/other.mp4";
        reverse(w, out);
        const fixtures::StreamFacts facts = fixtures::probe(out);
        QCOMPARE(facts.channels, 2);
        // Cut to the pictures' two seconds by -shortest: the first two thirds of a rise.
        QVERIFY(std::abs(facts.duration - 2.0) < 0.15);
        QVERIFY(rising_loudness(fixtures::channel_loudness(out, 0, 8)));
    }

    void aThirtyFramesSourceKeepsItsRate() {
        const QString source =
            fixtures::make_clip(folder + "/thirty.mp4", {.seconds = 2, .fps = 30});
        Windows w;
        w.main->load_videofile(source);
        const QString out = folder + "/thirty reversed.mp4";
        reverse(w, out);
        const fixtures::StreamFacts facts = fixtures::probe(out);
        QCOMPARE(facts.frameRate, QString("30/1"));
        QCOMPARE(facts.frames, 60);
        QVERIFY(std::abs(facts.duration - 2.0) < 0.1);
    }

    void aSegmentFromTheMiddleHoldsExactlyItsFrames() {
        Windows w;
        w.main->load_videofile(intra);
        const QVector<double> all = fixtures::frame_lumas(intra);
        w.main->split_begin->SetValue(10);
        w.main->split_end->SetValue(30);
        const QString out = folder + "/middle.mkv";
        reverse(w, out);
        const QVector<double> lumas = fixtures::frame_lumas(out);
        QCOMPARE(lumas.size(), 20);
        QVERIFY(std::abs(lumas.front() - all[29]) < 2);
        QVERIFY(std::abs(lumas.back() - all[10]) < 2);
        QVERIFY(falling(lumas));
    }

    void everyOutputExtensionGivesAReadableFile_data() {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("videoCodec");
        QTest::addColumn<QString>("audioCodec");
        QTest::newRow("avi") << "avi"
                             << "h264"
                             << "mp3";
        QTest::newRow("mpg") << "mpg"
                             << "mpeg1video"
                             << "mp2";
        QTest::newRow("mpeg") << "mpeg"
                              << "mpeg1video"
                              << "mp2";
        QTest::newRow("wmv") << "wmv"
                             << "mpeg4"
                             << "wmav2";
        QTest::newRow("mp4") << "mp4"
                             << "h264"
                             << "aac";
        QTest::newRow("m4v") << "m4v"
                             << "h264"
                             << "";
        QTest::newRow("3gp") << "3gp"
                             << "h264"
                             << "aac";
        QTest::newRow("rm") << "rm"
                            << "rv20"
                            << "ac3";
        QTest::newRow("flv") << "flv"
                             << "h264"
                             << "mp3";
        QTest::newRow("swf") << "swf"
                             << "flv1"
                             << "mp3";
        QTest::newRow("mkv") << "mkv"
                             << "h264"
                             << "vorbis";
        QTest::newRow("webm") << "webm"
                              << "vp8"
                              << "vorbis";
        QTest::newRow("mov") << "mov"
                             << "h264"
                             << "aac";
        QTest::newRow("vob") << "vob"
                             << "mpeg2video"
                             << "mp2";
        QTest::newRow("asf") << "asf"
                             << "msmpeg4v3"
                             << "wmav2";
        QTest::newRow("ts") << "ts"
                            << "mpeg2video"
                            << "mp2";
        QTest::newRow("mts") << "mts"
                             << "h264"
                             << "mp2";
    }

    void everyOutputExtensionGivesAReadableFile() {
        QFETCH(QString, extension);
        QFETCH(QString, videoCodec);
        QFETCH(QString, audioCodec);
        Windows w;
        w.main->load_videofile(stereo);
        const QString out = folder + "/every." + extension;
        reverse(w, out);
        QCOMPARE(texts(w.dialogs), QStringList{"Process is finished!"});
        const fixtures::StreamFacts facts = fixtures::probe(out);
        QCOMPARE(facts.videoCodec, videoCodec);
        if (!audioCodec.isEmpty())
            QCOMPARE(facts.audioCodec, audioCodec);
        QVERIFY(facts.frames >= 48);
        QVERIFY(falling(fixtures::frame_lumas(out)));
    }

    void cancellingLeavesNothingBehind_data() {
        QTest::addColumn<QString>("stage");
        QTest::newRow("extraction") << "Reverse Video Header......";
        QTest::newRow("assembly") << "Reverse Video Content......";
    }

    void cancellingLeavesNothingBehind() {
        QFETCH(QString, stage);
        const QString longer = fixtures::make_clip(folder + "/longer.mp4",
                                                   {.seconds = 30, .width = 640, .height = 360});
        const QString out = folder + "/kept.mp4";
        QFile::remove(out);
        QFile::copy(stereo, out);
        const QByteArray before = [&] {
            QFile f(out);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();

        Windows w;
        w.main->load_videofile(longer);
        w.dialogs.saveAnswers.push_back(out);
        w.dialogs.confirmAnswers.push_back(true);
        bool pressed = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            Tbatchaudioc& d = *w.batchaudioc;
            if (!pressed && d.isVisible() && d.Label1->text() == stage &&
                d.progresstotal->value() > 0 && d.Button1->isEnabled()) {
                pressed = true;
                d.Button1->click();
            }
        });
        poll.start(20);
        w.main->BitBtn1Click();
        poll.stop();
        QTest::qWait(100);

        QVERIFY(pressed);
        QVERIFY(!w.batchaudioc->isVisible());
        QVERIFY(folder_is_empty(work_folder()));
        QVERIFY(!texts(w.dialogs).contains("Process is finished!"));
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
        QCOMPARE(QDir(folder).entryList({".kept*"}, QDir::Files | QDir::Hidden).size(), 0);
    }

    void aSecondJobWaitsForTheFirst() {
        Windows w;
        w.main->load_videofile(stereo);
        JobLock running;
        QVERIFY(running.acquire());
        QDir().mkpath(work_folder());
        const QString frame = work_folder() + "/to1.jpg";
        QFile(frame).open(QIODevice::WriteOnly);
        w.main->BitBtn1Click();
        QCOMPARE(texts(w.dialogs), QStringList{"Another copy of Tolvane is running a reverse job. "
                                               "Please wait until it has finished."});
        QVERIFY(QFile::exists(frame));
        QVERIFY(w.dialogs.saveRequests.isEmpty());
        running.release();
        QFile::remove(frame);
    }

    void aStageThatCannotGoOnEndsTheJob_data() {
        QTest::addColumn<bool>("reversal");
        QTest::newRow("sound reversal without its sound") << true;
        QTest::newRow("renaming without a work folder") << false;
    }

    void aStageThatCannotGoOnEndsTheJob() {
        QFETCH(bool, reversal);
        Windows w;
        QDir(work_folder()).removeRecursively();
        if (reversal)
            QDir().mkpath(work_folder());
        Tbatchaudioc& dialog = *w.batchaudioc;
        QTimer::singleShot(0, [&] {
            if (reversal)
                dialog.Timer_resound_doTimer();
            else
                dialog.timer_renamefile_doTimer();
        });
        dialog.exec(); // returns once the failing stage has closed it
        QCOMPARE(w.dialogs.messages.size(), 1);
        QCOMPARE(w.dialogs.messages[0].icon, MessageIcon::Error);
        QVERIFY(!w.main->timer_renamefile->isActive() && !w.main->timer_i2v->isActive());
        QVERIFY(folder_is_empty(work_folder()));
    }

    void aFailingTaskShowsFfmpegsReason() {
        const QString blocker = folder + "/not a folder";
        QFile b(blocker);
        b.open(QIODevice::WriteOnly);
        b.close();
        Windows w;
        w.main->load_videofile(stereo);
        w.dialogs.saveAnswers.push_back(blocker + "/out.mp4");
        w.main->BitBtn1Click();
        QTRY_VERIFY_WITH_TIMEOUT(texts(w.dialogs).contains("Process is finished!"), 60000);
        QCOMPARE(w.dialogs.messages.size(), 2);
        QCOMPARE(w.dialogs.messages[0].icon, MessageIcon::Warning);
        QCOMPARE(w.dialogs.messages[0].caption, QString("Tolvane"));
        QVERIFY2(w.dialogs.messages[0].text.contains("Not a directory"),
                 qPrintable(w.dialogs.messages[0].text));
        QVERIFY(folder_is_empty(work_folder()));
    }
};

QTEST_MAIN(JobTest)
#include "test_job.moc"
