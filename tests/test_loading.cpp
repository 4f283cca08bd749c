// Loading real clips into the main window, and what the window shows afterwards.
#include "fixtures.h"
#include "window_fixture.h"

#include "platform/rxslider.h"
#include "platform/spinedit.h"

#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

class LoadingTest : public QObject {
    Q_OBJECT
    QString folder;
    QString withSound, withoutSound;

  private slots:
    void initTestCase() {
        use_test_folders();
        folder = fixtures::temp_folder("loading");
        withSound = fixtures::make_clip(folder + "/with sound.mp4",
                                        {.seconds = 4, .fps = 25, .width = 640, .height = 360});
        withoutSound =
            fixtures::make_clip(folder + "/silent.avi", {.seconds = 2, .fps = 30, .channels = 0});
    }

    void aClipWithSoundResetsTheWindow() {
        Windows w;
        Tmain& m = *w.main;
        m.radio_otheraudio->setChecked(true);
        m.load_videofile(withSound);
        QVERIFY(w.dialogs.messages.isEmpty());
        QCOMPARE(m.label_fromvideo->text(), withSound);
        QVERIFY(std::abs(m.video_duration - 4000000) < 100000);
        QCOMPARE(m.total_frames, 100);
        QVERIFY(m.radio_originalaudio->isChecked() && m.radio_backwardaudio->isEnabled());
        QCOMPARE(m.EdCustomWidth2->Value(), 640);
        QCOMPARE(m.EdCustomHeight2->Value(), 360);
        QVERIFY(m.split_begin->isEnabled() && m.split_end->isEnabled());
        QCOMPARE(m.split_begin->MaxValue(), 100);
        QCOMPARE(m.split_end->Value(), 100);
        // A first source of exactly 100 frames moves neither slider: previews stay black.
        QCOMPARE(m.image_end->Canvas().toImage().pixel(178, 94), qRgb(0, 0, 0));
        QCOMPARE(m.Label_endtime->text(), QString("End 00:00:00.000"));
    }

    void aClipWithoutSoundChoosesMute() {
        Windows w;
        Tmain& m = *w.main;
        m.load_videofile(withoutSound);
        QVERIFY(w.dialogs.messages.isEmpty());
        QVERIFY(m.radio_an->isChecked());
        QVERIFY(!m.radio_originalaudio->isEnabled() && !m.radio_backwardaudio->isEnabled());
        QCOMPARE(m.total_frames, 60);
        // The end slider moved from 100 down to 60: its labels and preview are drawn.
        QCOMPARE(m.split_end->Value(), 60);
        QCOMPARE(m.Label_endtime->text(), QString("End 00:00:02.000"));
        QCOMPARE(m.label_endframe->text(), QString("Frame 60"));
        QCOMPARE(m.label_totalframe->text(), QString("Frame 60 >>"));
        QVERIFY(m.image_end->Canvas().toImage().pixel(178, 94) != qRgb(0, 0, 0));
        QCOMPARE(m.Label_begintime->text(), QString("Start 00:00:00.000"));

        m.load_videofile(withSound);
        QVERIFY(m.radio_originalaudio->isChecked() && m.radio_originalaudio->isEnabled());
    }

    void refusedFilesSayWhy_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        const QString d = fixtures::temp_folder("refused");
        QFile(d + "/empty.avi").open(QIODevice::WriteOnly);
        QFile garbage(d + "/garbage.avi");
        garbage.open(QIODevice::WriteOnly);
        garbage.write(QByteArray(4096, 'x'));
        garbage.close();
        fixtures::run_ffmpeg({"-f", "lavfi", "-i", "sine=d=1", d + "/sound only.mp4"});
        QFile(d + "/clip").open(QIODevice::WriteOnly);
        QTest::newRow("no extension") << d + "/clip"
                                      << "Please load video file";
        QTest::newRow("unknown extension") << d + "/notes.txt"
                                           << "Please load video file";
        QTest::newRow("empty file") << d + "/empty.avi"
                                    << "File load error: ";
        QTest::newRow("garbage") << d + "/garbage.avi"
                                 << "File load error: ";
        QTest::newRow("sound only") << d + "/sound only.mp4"
                                    << "***No video stream ";
    }

    void refusedFilesSayWhy() {
        QFETCH(QString, path);
        QFETCH(QString, message);
        Windows w;
        w.main->load_videofile(withSound);
        w.main->load_videofile(path);
        QCOMPARE(w.dialogs.messages.size(), 1);
        const auto& shown = w.dialogs.messages[0];
        QVERIFY2(shown.text.startsWith(message), qPrintable(shown.text));
        QCOMPARE(shown.icon, MessageIcon::Error);
        QCOMPARE(shown.caption, QString());
        if (message == "File load error: ")
            QVERIFY2(shown.text.size() > message.size(), "FFmpeg's reason follows");
        // The earlier source still shows.
        QCOMPARE(w.main->label_fromvideo->text(), withSound);
    }

    void namesInAnyCaseAndAnyLettersLoad_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("mixed case") << "clip.Avi";
        QTest::newRow("upper case") << "CLIP.AVI";
        QTest::newRow("blanks and letters") << "Ünïcode fïlm – 'quoted'.avi";
        QTest::newRow("leading dash") << "-dash.avi";
    }

    void namesInAnyCaseAndAnyLettersLoad() {
        QFETCH(QString, name);
        const QString path =
            fixtures::make_clip(folder + "/" + name, {.seconds = 1, .channels = 0});
        Windows w;
        w.main->load_videofile(path);
        QVERIFY(w.dialogs.messages.isEmpty());
        QCOMPARE(w.main->label_fromvideo->text(), path);
        QCOMPARE(w.main->total_frames, 25);
    }

    void aWideSourceIsClampedInTheSizeFields() {
        const QString wide = folder + "/wide.mkv";
        fixtures::run_ffmpeg({"-f", "lavfi", "-i", "color=s=12000x8:d=0.2", "-c:v", "ffv1", wide});
        Windows w;
        w.main->load_videofile(wide);
        QVERIFY(w.dialogs.messages.isEmpty());
        QCOMPARE(w.main->EdCustomWidth2->Value(), 10000);
        QCOMPARE(w.main->EdCustomHeight2->Value(), 8);
    }
};

QTEST_MAIN(LoadingTest)
#include "test_loading.moc"
