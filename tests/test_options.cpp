// The output option controls of the main window, driven as a user drives them.
#include "fixtures.h"
#include "window_fixture.h"

#include "common/helpers.h"
#include "platform/imageenview.h"
#include "platform/rxslider.h"
#include "platform/spinedit.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

// Types `text` into a field that has the focus, after clearing it.
void retype(TSpinEdit* field, const QString& text) {
    field->Edit()->setFocus();
    field->Edit()->selectAll();
    QTest::keyClick(field->Edit(), Qt::Key_Backspace);
    QTest::keyClicks(field->Edit(), text);
}

void leave(TSpinEdit* field, QWidget* next) {
    Q_UNUSED(field);
    next->setFocus();
    QApplication::processEvents();
}

} // namespace

class OptionsTest : public QObject {
    Q_OBJECT
    QString folder;

    QString clip(int width, int height) {
        return fixtures::make_clip(folder + QString("/%1x%2.avi").arg(width).arg(height),
                                   {.seconds = 1, .width = width, .height = height});
    }

  private slots:
    void initTestCase() {
        use_test_folders();
        folder = fixtures::temp_folder("options");
    }

    void choicesEnableTheirFieldsAndKeepValues() {
        Windows w;
        Tmain& m = *w.main;
        m.ck_changevolume->click();
        QVERIFY(m.spin_volume->isEnabled() && m.Label4->isEnabled());
        m.spin_volume->SetValue(150);
        m.ck_changevolume->click();
        QVERIFY(!m.spin_volume->isEnabled());
        QCOMPARE(m.spin_volume->Value(), 150);

        m.radio_changemotion->click();
        QVERIFY(m.spin_motion->isEnabled() && m.Label1->isEnabled());
        m.radio_originalmotion->click();
        QVERIFY(!m.spin_motion->isEnabled() && !m.Label1->isEnabled());
        m.radio_changetempo->click();
        QVERIFY(m.spin_tempo->isEnabled() && m.Label46->isEnabled());

        w.dialogs.openAnswers.push_back("/music/other song.mp3");
        m.radio_otheraudio->click();
        QVERIFY(m.edit_otheraudio->isEnabled() && m.bt_otheraudio->isEnabled());
        m.bt_otheraudio->click();
        QCOMPARE(m.edit_otheraudio->text(), QString("/music/other song.mp3"));
        QVERIFY(w.dialogs.openRequests.last().filter.startsWith("Audio Files|*.WAV;*.WAVE;"));
        QCOMPARE(w.dialogs.openRequests.last().filter.count(";"), 34);
        m.bt_otheraudio->click(); // cancelled
        QCOMPARE(m.edit_otheraudio->text(), QString("/music/other song.mp3"));
        m.radio_originalaudio->click();
        QVERIFY(!m.edit_otheraudio->isEnabled());
        QCOMPARE(m.edit_otheraudio->text(), QString("/music/other song.mp3"));
    }

    void leavingAFieldNormalisesIt_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("left");
        QTest::newRow("empty") << "" << 20;
        QTest::newRow("zero") << "0" << 20;
        QTest::newRow("leading zero") << "090" << 90;
        QTest::newRow("above") << "999" << 800;
        QTest::newRow("far above, cut to four digits") << "99999" << 800;
        QTest::newRow("in range") << "100" << 100;
    }

    void leavingAFieldNormalisesIt() {
        QFETCH(QString, typed);
        QFETCH(int, left);
        Windows w;
        Tmain& m = *w.main;
        m.show();
        QVERIFY(QTest::qWaitForWindowActive(&m));
        m.ck_changevolume->click();
        retype(m.spin_volume, typed);
        // Read as typed while the field has the focus.
        QCOMPARE(m.spin_volume->Text(), typed.left(4));
        leave(m.spin_volume, m.BitBtn1);
        QCOMPARE(m.spin_volume->Text(), QString::number(left));
    }

    void onlyDigitsAndBackspaceType() {
        Windows w;
        Tmain& m = *w.main;
        m.show();
        QVERIFY(QTest::qWaitForWindowActive(&m));
        m.radio_changetempo->click();
        retype(m.spin_tempo, "1a-+. 5");
        QTest::keyClick(m.spin_tempo->Edit(), Qt::Key_Return);
        QCOMPARE(m.spin_tempo->Text(), QString("15"));
        QTest::keyClick(m.spin_tempo->Edit(), Qt::Key_Backspace);
        QCOMPARE(m.spin_tempo->Text(), QString("1"));
    }

    void proportionalSizes_data() {
        QTest::addColumn<int>("sourceWidth");
        QTest::addColumn<int>("sourceHeight");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("widthAfter");
        QTest::addColumn<bool>("proportion");
        QTest::newRow("640x480, 320") << 640 << 480 << "320"
                                      << "240"
                                      << "320" << true;
        QTest::newRow("640x480, 6") << 640 << 480 << "6"
                                    << "4"
                                    << "6" << true;
        QTest::newRow("640x480, 10") << 640 << 480 << "10"
                                     << "8"
                                     << "10" << true;
        QTest::newRow("640x480, 2") << 640 << 480 << "2"
                                    << "2"
                                    << "2" << true;
        QTest::newRow("1920x1080, 3") << 1920 << 1080 << "3"
                                      << "2"
                                      << "3" << true;
        QTest::newRow("480x640, 9000") << 480 << 640 << "9000"
                                       << "10000"
                                       << "9000" << false;
        QTest::newRow("nothing loaded") << 0 << 0 << "123"
                                        << "123"
                                        << "123" << true;
    }

    void proportionalSizes() {
        QFETCH(int, sourceWidth);
        QFETCH(int, sourceHeight);
        QFETCH(QString, width);
        QFETCH(QString, height);
        QFETCH(QString, widthAfter);
        QFETCH(bool, proportion);
        Windows w;
        Tmain& m = *w.main;
        if (sourceWidth > 0) {
            m.load_videofile(clip(sourceWidth, sourceHeight));
            QCOMPARE(m.EdCustomWidth2->Value(), sourceWidth);
            QCOMPARE(m.EdCustomHeight2->Value(), sourceHeight);
        }
        m.show();
        m.radio_custom2->click();
        retype(m.EdCustomWidth2, width);
        QCOMPARE(m.EdCustomHeight2->Text(), height);
        QCOMPARE(m.EdCustomWidth2->Text(), widthAfter);
        QCOMPARE(m.cb_proportion2->isChecked(), proportion);
    }

    void checkingProportionAgainMayMoveTheWidth() {
        Windows w;
        Tmain& m = *w.main;
        m.load_videofile(clip(1920, 1080));
        m.radio_custom2->click();
        m.cb_proportion2->click(); // off
        m.EdCustomWidth2->SetText("3");
        m.cb_proportion2->click(); // on: height 2, which gives width 4
        QCOMPARE(m.EdCustomHeight2->Text(), QString("2"));
        QCOMPARE(m.EdCustomWidth2->Text(), QString("4"));

        m.cb_proportion2->click();
        m.EdCustomWidth2->SetText("");
        m.cb_proportion2->click();
        QCOMPARE(w.dialogs.texts().last(), QString("'' is not a valid integer value"));
    }

    void theFrameSizeModes() {
        Windows w;
        Tmain& m = *w.main;
        m.radio_custom2->click();
        QVERIFY(m.EdCustomWidth2->isEnabled() && m.cb_pad->isEnabled());
        m.EdCustomWidth2->SetValue(500);
        m.radio_crop->click();
        QVERIFY(!m.EdCustomWidth2->isEnabled() && m.bt_setcrop->isEnabled());
        QCOMPARE(m.EdCustomWidth2->Value(), 500);
        m.radio_original2->click();
        QCOMPARE(m.EdCustomWidth2->Value(), 2); // nothing loaded
        QVERIFY(!m.bt_setcrop->isEnabled());
    }

    void settingsReachTheOutput_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("seconds");
        QTest::newRow("custom without padding") << "custom 320x180" << QSize(320, 180) << 2.0;
        QTest::newRow("custom with padding") << "padded 400x400" << QSize(400, 400) << 2.0;
        QTest::newRow("crop") << "crop" << QSize(200, 100) << 2.0;
        QTest::newRow("motion 200") << "motion 200" << QSize(640, 360) << 1.0;
        QTest::newRow("motion 50") << "motion 50" << QSize(640, 360) << 4.0;
        QTest::newRow("tempo 300") << "tempo 300" << QSize(640, 360) << 0.67;
    }

    void settingsReachTheOutput() {
        QFETCH(QString, setting);
        QFETCH(QSize, size);
        QFETCH(double, seconds);
        Windows w;
        Tmain& m = *w.main;
        const QString source = fixtures::make_clip(folder + "/settings.mp4",
                                                   {.seconds = 2, .width = 640, .height = 360});
        m.load_videofile(source);
        if (setting.startsWith("custom") || setting.startsWith("padded")) {
            m.radio_custom2->click();
            m.cb_proportion2->click(); // off
            m.EdCustomWidth2->SetValue(size.width());
            m.EdCustomHeight2->SetValue(size.height());
            if (setting.startsWith("custom"))
                m.cb_pad->click(); // off
        } else if (setting == "crop") {
            m.radio_crop->click();
            QImage(640, 360, QImage::Format_RGB32).save(folder + "/frame.bmp");
            w.setcrop->ImageEnView1->LoadImageFile(folder + "/frame.bmp");
            w.setcrop->ImageEnView1->SelectionBase = TSelectionBase::iesbBitmap;
            w.setcrop->ImageEnView1->SelectRect(100, 50, 300, 150);
        } else if (setting.startsWith("motion")) {
            m.radio_an->click();
            m.radio_changemotion->click();
            m.spin_motion->SetValue(setting.section(' ', 1).toInt());
        } else if (setting.startsWith("tempo")) {
            m.radio_changetempo->click();
            m.spin_tempo->SetValue(setting.section(' ', 1).toInt());
        }
        const QString out = folder + "/settings " + setting + ".mp4";
        w.dialogs.saveAnswers.push_back(out);
        m.BitBtn1Click();
        QTRY_VERIFY_WITH_TIMEOUT(w.dialogs.texts().contains("Process is finished!"), 60000);
        QCOMPARE(w.dialogs.texts(), QStringList{"Process is finished!"});
        const fixtures::StreamFacts facts = fixtures::probe(out);
        QCOMPARE(QSize(facts.width, facts.height), size);
        // The sound's tempo shows in the sound's own length: FFmpeg keeps the pictures'.
        const double length = setting.startsWith("tempo") ? facts.audioDuration : facts.duration;
        QVERIFY2(std::abs(length - seconds) < 0.12, qPrintable(QString::number(length)));
    }

    void volumeScalesTheLoudness() {
        const QString source = fixtures::make_clip(folder + "/loud.mp4", {.seconds = 2});
        QVector<double> loudness;
        for (int volume : {100, 50}) {
            Windows w;
            w.main->load_videofile(source);
            w.main->ck_changevolume->click();
            w.main->spin_volume->SetValue(volume);
            const QString out = folder + QString("/volume %1.mp4").arg(volume);
            w.dialogs.saveAnswers.push_back(out);
            w.main->BitBtn1Click();
            QTRY_VERIFY_WITH_TIMEOUT(w.dialogs.texts().contains("Process is finished!"), 60000);
            double sum = 0;
            for (double v : fixtures::channel_loudness(out, 0, 4))
                sum += v;
            loudness << sum;
        }
        QVERIFY2(std::abs(loudness[1] / loudness[0] - 0.5) < 0.05,
                 qPrintable(QString::number(loudness[1] / loudness[0])));
    }

    void setCroppingAreaGrabsAFrame() {
        Windows w;
        Tmain& m = *w.main;
        m.radio_crop->click();
        m.bt_setcrop->click();
        QCOMPARE(w.dialogs.texts(), QStringList{"The source video file is NOT loaded!"});

        // Every frame a key frame, so the grabbed frame is exactly the one sought.
        const QString intra = fixtures::make_clip(
            folder + "/crop source.mkv",
            {.seconds = 2,
             .width = 640,
             .height = 360,
             .codecArgs = {"-c:v", "mpeg4", "-g", "1", "-q:v", "2", "-c:a", "pcm_s16le"}});
        const QVector<double> lumas = fixtures::frame_lumas(intra);
        m.load_videofile(intra);
        struct Grab {
            QSize shown, saved;
            bool fieldsEnabled = true;
            int grey = -1;
        };
        const auto grab = [&] {
            QFile::remove(program_folder() + "test.bmp");
            Grab g;
            QTimer::singleShot(0, [&] {
                QTRY_VERIFY(w.setcrop->isVisible());
                g.shown = w.setcrop->ImageEnView1->Image().size();
                g.fieldsEnabled = w.setcrop->ed_hp->isEnabled();
                w.setcrop->close();
            });
            m.bt_setcrop->click();
            const QImage saved(program_folder() + "test.bmp");
            g.saved = saved.size();
            g.grey = qGray(
                saved.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixel(0, 0));
            return g;
        };
        // The whole range: the middle of the video.
        const Grab middle = grab();
        QCOMPARE(middle.shown, QSize(640, 360));
        QCOMPARE(middle.saved, QSize(640, 360));
        QVERIFY(!middle.fieldsEnabled);
        QVERIFY(std::abs(middle.grey - lumas[25]) < 4);
        // Otherwise the frame the last preview decoded.
        m.split_end->SetValue(40);
        const Grab end = grab();
        QVERIFY(std::abs(end.grey - lumas[40]) < 4);
    }
};

QTEST_MAIN(OptionsTest)
#include "test_options.moc"
