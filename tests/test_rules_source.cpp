#include "source/cutrange_rules.h"
#include "source/loading_rules.h"

#include <QSet>
#include <QStringList>
#include <QTest>

Q_DECLARE_METATYPE(FrameCountInput)
Q_DECLARE_METATYPE(SliderState)

class TestRulesSource : public QObject {
    Q_OBJECT

  private slots:
    void extensionLists();
    void fileExtension_data();
    void fileExtension();
    void extensionInList_data();
    void extensionInList();
    void frameCount_data();
    void frameCount();
    void sliderPosition_data();
    void sliderPosition();
    void segmentBar_data();
    void segmentBar();
    void cutLabels_data();
    void cutLabels();
    void frameOfLabel_data();
    void frameOfLabel();
};

namespace {

QSet<QString> patterns(const QString& list) {
    const QStringList items = list.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    return {items.begin(), items.end()};
}

} // namespace

void TestRulesSource::extensionLists() {
    QVERIFY(SOURCE_EXTENSIONS.startsWith(QLatin1String("*.AVI;*.MPG;*.MPEG;*.WMV;")));
    QVERIFY(SOURCE_EXTENSIONS.endsWith(QLatin1String(";*.FFV;*.MTS;")));
    QCOMPARE(SOURCE_EXTENSIONS.count(QLatin1Char(';')), 30);
    QCOMPARE(OUTPUT_EXTENSIONS.count(QLatin1Char(';')), 17);
    QCOMPARE(OUTPUT_EXTENSIONS, QStringLiteral("*.AVI;*.MPG;*.MPEG;*.WMV;*.MP4;*.M4V;*.3GP;*.RM;"
                                               "*.FLV;*.SWF;*.MKV;*.WEBM;*.MOV;*.VOB;*.ASF;*.TS;"
                                               "*.MTS;"));
    const QSet<QString> onlySource = patterns(SOURCE_EXTENSIONS) - patterns(OUTPUT_EXTENSIONS);
    const QSet<QString> expected{"*.RMVB", "*.H264", "*.IFO", "*.YUV", "*.AVM", "*.AVS", "*.DAT",
                                 "*.OGM",  "*.TP",   "*.NSV", "*.AMV", "*.ASV", "*.FFV"};
    QCOMPARE(onlySource, expected);
    QVERIFY(patterns(OUTPUT_EXTENSIONS).subtract(patterns(SOURCE_EXTENSIONS)).isEmpty());
}

void TestRulesSource::fileExtension_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "/home/me/clip.avi"
                           << ".avi";
    QTest::newRow("case kept") << "/home/me/clip.Avi"
                               << ".Avi";
    QTest::newRow("last dot") << "/home/me/clip.old.mp4"
                              << ".mp4";
    QTest::newRow("no dot") << "/home/me/clip"
                            << "";
    QTest::newRow("dot only in a folder") << "/home/me.d/clip"
                                          << "";
    QTest::newRow("trailing dot") << "/home/me/clip."
                                  << ".";
    QTest::newRow("bare name") << "clip.MTS"
                               << ".MTS";
}

void TestRulesSource::fileExtension() {
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(file_extension(path), expected);
}

void TestRulesSource::extensionInList_data() {
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("inSource");
    QTest::addColumn<bool>("inOutput");
    QTest::newRow(".avi") << ".avi" << true << true;
    QTest::newRow(".Avi") << ".Avi" << true << true;
    QTest::newRow(".AVI") << ".AVI" << true << true;
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow(".av inside *.AVI;") << ".av" << true << true;
    QTest::newRow(".m inside *.MPG;") << ".m" << true << true;
    QTest::newRow(".rm inside *.RMVB; and *.RM;") << ".rm" << true << true;
    QTest::newRow(".rmvb") << ".rmvb" << true << false;
    QTest::newRow(".h264") << ".h264" << true << false;
    QTest::newRow(".dat") << ".dat" << true << false;
    QTest::newRow(".ogv") << ".ogv" << false << false;
    QTest::newRow(".txt") << ".txt" << false << false;
    QTest::newRow("no dot") << "AVI" << true << true;
}

void TestRulesSource::extensionInList() {
    QFETCH(QString, extension);
    QFETCH(bool, inSource);
    QFETCH(bool, inOutput);
    QCOMPARE(extension_in_list(extension, SOURCE_EXTENSIONS), inSource);
    QCOMPARE(extension_in_list(extension, OUTPUT_EXTENSIONS), inOutput);
}

void TestRulesSource::frameCount_data() {
    QTest::addColumn<FrameCountInput>("input");
    QTest::addColumn<int>("previous");
    QTest::addColumn<int>("expected");
    // videoStreamCount, stream duration, container known, container duration, num, den
    QTest::newRow("stream at 30000/1001: 299.7")
        << FrameCountInput{1, 10000000, true, 10100000, 30000, 1001} << 7 << 300;
    QTest::newRow("stream at 1/1: 2.5 to 2")
        << FrameCountInput{1, 2500000, true, 9000000, 1, 1} << 7 << 2;
    QTest::newRow("container when the stream has none: 308.64")
        << FrameCountInput{1, -1, true, 12345678, 25, 1} << 7 << 309;
    QTest::newRow("stream duration 0 counts as none")
        << FrameCountInput{1, 0, true, 12345678, 25, 1} << 7 << 309;
    QTest::newRow("denominator 0: ten per second, 123.46")
        << FrameCountInput{1, 10000000, true, 12345678, 25, 0} << 7 << 123;
    QTest::newRow("negative denominator: ten per second")
        << FrameCountInput{1, 10000000, true, 12345678, 25, -1} << 7 << 123;
    QTest::newRow("no video stream: ten per second")
        << FrameCountInput{0, 10000000, true, 2050000, 25, 1} << 7 << 20;
    QTest::newRow("nothing known keeps the previous")
        << FrameCountInput{1, -1, false, 0, 25, 1} << 7 << 7;
    QTest::newRow("stream known, container unknown")
        << FrameCountInput{1, 4000000, false, 0, 25, 1} << 7 << 100;
    QTest::newRow("no rate, container unknown keeps the previous")
        << FrameCountInput{1, 4000000, false, 0, 25, 0} << 7 << 7;
    QTest::newRow("numerator 0 gives 0")
        << FrameCountInput{1, 4000000, true, 4000000, 0, 1} << 7 << 0;
}

void TestRulesSource::frameCount() {
    QFETCH(FrameCountInput, input);
    QFETCH(int, previous);
    QFETCH(int, expected);
    QCOMPARE(frame_count(input, previous), expected);
}

void TestRulesSource::sliderPosition_data() {
    QTest::addColumn<SliderState>("slider");
    QTest::addColumn<qint64>("durationUs");
    QTest::addColumn<int>("totalFrames");
    QTest::addColumn<qint64>("time");
    QTest::addColumn<qint64>("frame");
    QTest::newRow("half of 300 frames")
        << SliderState{150, 300} << qint64(10010000) << 300 << qint64(5005000) << qint64(150);
    QTest::newRow("end") << SliderState{300, 300} << qint64(10010000) << 300 << qint64(10010000)
                         << qint64(300);
    QTest::newRow("ties to even under the initial scale of 100")
        << SliderState{50, 100} << qint64(5) << 5 << qint64(2) << qint64(2);
    QTest::newRow("zero maximum counts as 0")
        << SliderState{5, 0} << qint64(10010000) << 300 << qint64(0) << qint64(0);
}

void TestRulesSource::sliderPosition() {
    QFETCH(SliderState, slider);
    QFETCH(qint64, durationUs);
    QFETCH(int, totalFrames);
    QFETCH(qint64, time);
    QFETCH(qint64, frame);
    QCOMPARE(slider_time(slider, durationUs), time);
    QCOMPARE(slider_frame(slider, totalFrames), frame);
}

void TestRulesSource::segmentBar_data() {
    QTest::addColumn<SliderState>("begin");
    QTest::addColumn<SliderState>("end");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("widthAfterEnd");
    QTest::newRow("whole video") << SliderState{0, 300} << SliderState{300, 300} << 13 << 695
                                 << 695;
    QTest::newRow("second half") << SliderState{150, 300} << SliderState{300, 300} << 361 << 348
                                 << 348;
    QTest::newRow("ties to even: 208.5")
        << SliderState{3, 10} << SliderState{6, 10} << 221 << 208 << 208;
    QTest::newRow("start on the end")
        << SliderState{300, 300} << SliderState{300, 300} << 708 << 0 << 0;
    QTest::newRow("each scaled by its own maximum")
        << SliderState{10, 100} << SliderState{30, 300} << 83 << 139 << 46;
    QTest::newRow("zero maximum") << SliderState{0, 0} << SliderState{0, 0} << 13 << 0 << 0;
}

void TestRulesSource::segmentBar() {
    QFETCH(SliderState, begin);
    QFETCH(SliderState, end);
    QFETCH(int, left);
    QFETCH(int, width);
    QFETCH(int, widthAfterEnd);
    const SegmentBar bar = bar_after_begin(begin, end);
    QCOMPARE(bar.left, left);
    QCOMPARE(bar.width, width);
    QCOMPARE(bar_width_after_end(begin, end), widthAfterEnd);
}

void TestRulesSource::cutLabels_data() {
    QTest::addColumn<SliderState>("begin");
    QTest::addColumn<SliderState>("end");
    QTest::addColumn<qint64>("durationUs");
    QTest::addColumn<int>("totalFrames");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("start at 150 of 300 frames")
        << SliderState{150, 300} << SliderState{300, 300} << qint64(10010000) << 300
        << QStringList{"Start 00:00:05.005", "Frame 150",        "<< 00:00:05.005",
                       "Frame 150 >>",       "End 00:00:10.010", "Frame 300"};
    QTest::newRow("start on the end")
        << SliderState{300, 300} << SliderState{300, 300} << qint64(10010000) << 300
        << QStringList{"Start 00:00:10.010", "Frame 300",        "<< 00:00:00.000",
                       "Frame 0 >>",         "End 00:00:10.010", "Frame 300"};
    QTest::newRow("segment scaled by the start's maximum")
        << SliderState{10, 100} << SliderState{60, 200} << qint64(1000000) << 50
        << QStringList{"Start 00:00:00.100", "Frame 5",          "<< 00:00:00.500",
                       "Frame 25 >>",        "End 00:00:00.300", "Frame 15"};
    QTest::newRow("frame count 0 under the initial maximum")
        << SliderState{0, 100} << SliderState{40, 100} << qint64(8000000) << 0
        << QStringList{"Start 00:00:00.000", "Frame 0",          "<< 00:00:03.200",
                       "Frame 0 >>",         "End 00:00:03.200", "Frame 0"};
}

void TestRulesSource::cutLabels() {
    QFETCH(SliderState, begin);
    QFETCH(SliderState, end);
    QFETCH(qint64, durationUs);
    QFETCH(int, totalFrames);
    QFETCH(QStringList, expected);
    const CutLabels labels = cut_labels(begin, end, durationUs, totalFrames);
    QCOMPARE((QStringList{labels.begintime, labels.beginframe, labels.totaltime, labels.totalframe,
                          labels.endtime, labels.endframe}),
             expected);
}

void TestRulesSource::frameOfLabel_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("expected");
    QTest::newRow("Frame 150") << "Frame 150" << 150;
    QTest::newRow("Frame 0") << "Frame 0" << 0;
    QTest::newRow("no number") << "Frame " << 0;
    QTest::newRow("not a number") << "Frame x1" << 0;
}

void TestRulesSource::frameOfLabel() {
    QFETCH(QString, label);
    QFETCH(int, expected);
    QCOMPARE(frame_of_label(label), expected);
}

QTEST_APPLESS_MAIN(TestRulesSource)
#include "test_rules_source.moc"
