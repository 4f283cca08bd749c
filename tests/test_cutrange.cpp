// The segment sliders on real clips: previews, labels, bar, frame stepping and the enlarged
// frame view.
#include "fixtures.h"
#include "window_fixture.h"

#include "platform/rxslider.h"
#include "platform/spinbutton.h"

#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// Mean grey of a picture.
double mean_grey(const QImage& image) {
    const QImage small = image.scaled(16, 16).convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            sum += qGray(small.pixel(x, y));
    return sum / 256;
}

// Closes the next modal window after `check` has looked at it.
void when_modal(const std::function<void(QWidget*)>& check) {
    QTimer::singleShot(0, [check] {
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        check(QApplication::activeModalWidget());
    });
}

} // namespace

class CutRangeTest : public QObject {
    Q_OBJECT
    QString folder, intra;
    QVector<double> lumas;

  private slots:
    void initTestCase() {
        use_test_folders();
        folder = fixtures::temp_folder("cutrange");
        // Every frame a key frame, so a preview is exactly the frame at its time.
        intra = fixtures::make_clip(folder + "/intra.avi",
                                    {.seconds = 2,
                                     .fps = 25,
                                     .channels = 0,
                                     .codecArgs = {"-c:v", "mpeg4", "-g", "1", "-q:v", "2"}});
        lumas = fixtures::frame_lumas(intra);
    }

    void eachSliderDrawsItsFrame_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::newRow("near both ends") << 5 << 45;
        QTest::newRow("middle") << 20 << 30;
    }

    void eachSliderDrawsItsFrame() {
        QFETCH(int, start);
        QFETCH(int, end);
        Windows w;
        Tmain& m = *w.main;
        m.load_videofile(intra);
        m.split_begin->SetValue(start);
        QVERIFY(std::abs(mean_grey(m.frame_bitmap) - lumas[start]) < 3);
        const double startGrey =
            mean_grey(m.Image_start->Canvas().toImage().copy(40, 20, 270, 140));
        m.split_end->SetValue(end);
        QVERIFY(std::abs(mean_grey(m.frame_bitmap) - lumas[end]) < 3);
        const double endGrey = mean_grey(m.image_end->Canvas().toImage().copy(40, 20, 270, 140));
        QVERIFY(endGrey > startGrey + 20);
        QCOMPARE(m.label_beginframe->text(), QString("Frame %1").arg(start));
        QCOMPARE(m.label_endframe->text(), QString("Frame %1").arg(end));
        QCOMPARE(m.label_totalframe->text(), QString("Frame %1 >>").arg(end - start));
        QVERIFY(w.dialogs.messages.isEmpty());
    }

    void thePreviewIsFittedWithBlackMargins() {
        const QString wide = fixtures::make_clip(
            folder + "/wide.avi", {.seconds = 1, .width = 640, .height = 200, .channels = 0});
        Windows w;
        w.main->load_videofile(wide);
        const QImage canvas = w.main->image_end->Canvas().toImage();
        // 640 x 200 in 356 x 188: margins of 38 rows above and below.
        QCOMPARE(canvas.pixel(178, 10), qRgb(0, 0, 0));
        QCOMPARE(canvas.pixel(178, 180), qRgb(0, 0, 0));
        QVERIFY(canvas.pixel(178, 94) != qRgb(0, 0, 0));
    }

    void theStartCannotPassTheEnd() {
        Windows w;
        Tmain& m = *w.main;
        m.load_videofile(intra);
        m.split_end->SetValue(30);
        m.split_begin->SetValue(40);
        QCOMPARE(m.split_begin->Value(), 30);
        QCOMPARE(m.label_totaltime->text(), QString("<< 00:00:00.000"));
        QCOMPARE(m.label_totalframe->text(), QString("Frame 0 >>"));
        QCOMPARE(m.split_position_front->width(), 0);
        m.split_end->SetValue(10);
        QCOMPARE(m.split_end->Value(), 30);
    }

    void steppingStopsAtTheEdges() {
        Windows w;
        Tmain& m = *w.main;
        m.SpinButton1UpClick(); // nothing loaded
        QCOMPARE(m.split_begin->Value(), 0);
        QCOMPARE(m.label_beginframe->text(), QString("Frame 0"));

        m.load_videofile(intra);
        m.SpinButton1DownClick();
        QCOMPARE(m.split_begin->Value(), 0);
        m.SpinButton2UpClick();
        QCOMPARE(m.split_end->Value(), 50);
        m.SpinButton1UpClick();
        m.SpinButton1UpClick();
        QCOMPARE(m.label_beginframe->text(), QString("Frame 2"));
        m.SpinButton2DownClick();
        QCOMPARE(m.label_endframe->text(), QString("Frame 49"));
    }

    void holdingAStepButtonRepeats() {
        Windows w;
        Tmain& m = *w.main;
        m.load_videofile(intra);
        m.show();
        QToolButton* up = m.SpinButton1->UpButton();
        QTest::mousePress(up, Qt::LeftButton);
        QTest::qWait(900);
        QTest::mouseRelease(up, Qt::LeftButton);
        QVERIFY(m.split_begin->Value() > 2);
    }

    void withNothingLoadedOnlyTheBarMoves() {
        Windows w;
        Tmain& m = *w.main;
        m.split_begin->SetValue(50);
        QCOMPARE(m.split_position_front->x(), 13 + 348);
        QCOMPARE(m.split_position_front->width(), 348);
        QCOMPARE(m.Label_begintime->text(), QString("Start 00:00:00.000"));
        m.Image_startClick();
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void theEnlargedViewShowsTheFrameAtItsSize() {
        const QString clip = folder + "/ntsc.mp4";
        fixtures::run_ffmpeg(
            {"-f", "lavfi", "-i", "testsrc2=s=640x360:r=30000/1001:d=6", "-g", "1", clip});
        Windows w;
        Tmain& m = *w.main;
        m.load_videofile(clip);
        m.show();
        m.split_begin->SetValue(150);
        QString caption;
        QSize client;
        when_modal([&](QWidget* view) {
            caption = view->windowTitle();
            client = view->size();
            QTest::keyClick(view, Qt::Key_Escape);
        });
        m.Image_startClick();
        QCOMPARE(caption, QString("640x360 @ 00:00:05.005"));
        QCOMPARE(client, QSize(640, 360));

        for (const auto& close : std::vector<std::function<void(QWidget*)>>{
                 [](QWidget* v) { QTest::keyClick(v, Qt::Key_Return); },
                 [](QWidget* v) { QTest::mouseClick(v->childAt(100, 100), Qt::LeftButton); },
                 [](QWidget* v) { v->close(); }}) {
            bool seen = false;
            when_modal([&](QWidget* v) {
                seen = true;
                close(v);
            });
            m.image_endClick();
            QVERIFY(seen);
            QVERIFY(QApplication::activeModalWidget() == nullptr);
        }
    }
};

QTEST_MAIN(CutRangeTest)
#include "test_cutrange.moc"
