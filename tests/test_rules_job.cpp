#include "job/reverse_rules.h"

#include <QStringList>
#include <QTest>

class TestRulesJob : public QObject {
    Q_OBJECT

  private slots:
    void saveDialogSetup_data();
    void saveDialogSetup();
    void saveDialogFilterInFull();
    void segment_data();
    void segment();
    void extractionOptions_data();
    void extractionOptions();
    void taskPercent_data();
    void taskPercent();
    void averagePercent_data();
    void averagePercent();
    void reversedNumbers_data();
    void reversedNumbers();
};

namespace {

// The output containers in the order the save dialog lists them, `except` left out.
QString output_entries(const QString& except) {
    static const QStringList names{"AVI", "MPG", "MPEG", "WMV", "MP4", "M4V", "3GP", "RM", "FLV",
                                   "SWF", "MKV", "WEBM", "MOV", "VOB", "ASF", "TS",  "MTS"};
    QString text;
    for (const QString& name : names) {
        if (name != except)
            text += "*." + name + "|*." + name.toLower() + "|";
    }
    return text;
}

} // namespace

void TestRulesJob::saveDialogSetup_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("startAtMinimum");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("defaultExt");
    QTest::newRow("rmvb, start moved") << "/v/clip.rmvb" << false << "MPG"
                                       << "mpg";
    QTest::newRow("rmvb, start at minimum") << "/v/clip.rmvb" << true << "RM"
                                            << "rm";
    QTest::newRow("AVI, start at minimum") << "/v/movie.AVI" << true << "AVI"
                                           << "AVI";
    QTest::newRow("AVI, start moved") << "/v/movie.AVI" << false << "MPG"
                                      << "mpg";
    QTest::newRow("rm, start at minimum") << "/v/clip.rm" << true << "RM"
                                          << "rm";
    QTest::newRow("Rm keeps its case") << "/v/clip.Rm" << true << "RM"
                                       << "Rm";
    QTest::newRow("rm, start moved") << "/v/clip.rm" << false << "MPG"
                                     << "mpg";
    QTest::newRow("Mp4, start at minimum") << "/v/clip.Mp4" << true << "MP4"
                                           << "Mp4";
    QTest::newRow("Mp4, start moved") << "/v/clip.Mp4" << false << "MP4"
                                      << "Mp4";
    QTest::newRow("mpg, start moved") << "/v/clip.mpg" << false << "MPG"
                                      << "mpg";
    QTest::newRow("ts") << "/v/clip.ts" << false << "TS"
                        << "ts";
    QTest::newRow("H264, start at minimum") << "/v/clip.H264" << true << "MKV"
                                            << "mkv";
    QTest::newRow("H264, start moved") << "/v/clip.H264" << false << "MKV"
                                       << "mkv";
    QTest::newRow("DAT, start at minimum") << "/v/clip.DAT" << true << "AVI"
                                           << "avi";
    QTest::newRow("DAT, start moved") << "/v/clip.DAT" << false << "MPG"
                                      << "mpg";
    QTest::newRow("ifo, start at minimum") << "/v/clip.ifo" << true << "AVI"
                                           << "avi";
}

void TestRulesJob::saveDialogSetup() {
    QFETCH(QString, source);
    QFETCH(bool, startAtMinimum);
    QFETCH(QString, first);
    QFETCH(QString, defaultExt);
    const QString firstEntry = "*." + first + "|*." + first.toLower() + "|";
    const SaveDialogSetup setup = save_dialog_setup(source, startAtMinimum);
    QCOMPARE(setup.defaultExt, defaultExt);
    QCOMPARE(setup.filter, firstEntry + output_entries(first));
}

void TestRulesJob::saveDialogFilterInFull() {
    const SaveDialogSetup setup = save_dialog_setup(QStringLiteral("/v/clip.rmvb"), false);
    QCOMPARE(setup.filter, QStringLiteral("*.MPG|*.mpg|*.AVI|*.avi|*.MPEG|*.mpeg|*.WMV|*.wmv|"
                                          "*.MP4|*.mp4|*.M4V|*.m4v|*.3GP|*.3gp|*.RM|*.rm|"
                                          "*.FLV|*.flv|*.SWF|*.swf|*.MKV|*.mkv|*.WEBM|*.webm|"
                                          "*.MOV|*.mov|*.VOB|*.vob|*.ASF|*.asf|*.TS|*.ts|"
                                          "*.MTS|*.mts|"));
    QCOMPARE(setup.defaultExt, QStringLiteral("mpg"));
}

void TestRulesJob::segment_data() {
    QTest::addColumn<QList<int>>("sliders"); // begin value, begin max, end value, end max
    QTest::addColumn<qint64>("durationUs");
    QTest::addColumn<qint64>("startUs");
    QTest::addColumn<qint64>("lengthUs");
    QTest::newRow("1.5 s for 4 s")
        << QList<int>{15, 100, 55, 100} << qint64(10000000) << qint64(1500000) << qint64(4000000);
    QTest::newRow("whole source") << QList<int>{0, 300, 300, 300} << qint64(10010000) << qint64(0)
                                  << qint64(10010000);
    QTest::newRow("ties to even") << QList<int>{1, 2, 2, 2} << qint64(5) << qint64(2) << qint64(2);
    QTest::newRow("thirds") << QList<int>{1, 3, 2, 3} << qint64(10000000) << qint64(3333333)
                            << qint64(3333333);
    QTest::newRow("zero maxima count as 0")
        << QList<int>{5, 0, 7, 0} << qint64(10000000) << qint64(0) << qint64(0);
}

void TestRulesJob::segment() {
    QFETCH(QList<int>, sliders);
    QFETCH(qint64, durationUs);
    QFETCH(qint64, startUs);
    QFETCH(qint64, lengthUs);
    const Segment s = segment_of(sliders[0], sliders[1], sliders[2], sliders[3], durationUs);
    QCOMPARE(s.startUs, startUs);
    QCOMPARE(s.lengthUs, lengthUs);
}

void TestRulesJob::extractionOptions_data() {
    QTest::addColumn<qint64>("startUs");
    QTest::addColumn<qint64>("lengthUs");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("frames");
    QTest::addColumn<QString>("sound");
    QTest::newRow("1.5 s for 4 s") << qint64(1500000) << qint64(4000000) << " -ss 00:00:01.500"
                                   << " -t 00:00:04.000 -y -q:v 0 -f image2"
                                   << " -t 00:00:04.000 -y -q:a 0";
    QTest::newRow("from the start") << qint64(0) << qint64(3723004999) << " -ss 00:00:00.000"
                                    << " -t 01:02:03.004 -y -q:v 0 -f image2"
                                    << " -t 01:02:03.004 -y -q:a 0";
}

void TestRulesJob::extractionOptions() {
    QFETCH(qint64, startUs);
    QFETCH(qint64, lengthUs);
    QFETCH(QString, input);
    QFETCH(QString, frames);
    QFETCH(QString, sound);
    const Segment s{startUs, lengthUs};
    QCOMPARE(frames_input_options(s), input);
    QCOMPARE(frames_output_options(s), frames);
    QCOMPARE(sound_output_options(s), sound);
}

void TestRulesJob::taskPercent_data() {
    QTest::addColumn<qint64>("currentUs");
    QTest::addColumn<qint64>("totalUs");
    QTest::addColumn<int>("expected");
    QTest::newRow("a quarter") << qint64(2500000) << qint64(10000000) << 25;
    QTest::newRow("0.5 to 0") << qint64(1) << qint64(200) << 0;
    QTest::newRow("1.5 to 2") << qint64(3) << qint64(200) << 2;
    QTest::newRow("done") << qint64(10000000) << qint64(10000000) << 100;
    QTest::newRow("long task, product in 64 bits")
        << qint64(90000000000) << qint64(100000000000) << 90;
    QTest::newRow("total 0") << qint64(5) << qint64(0) << 0;
}

void TestRulesJob::taskPercent() {
    QFETCH(qint64, currentUs);
    QFETCH(qint64, totalUs);
    QFETCH(int, expected);
    QCOMPARE(task_percent(currentUs, totalUs), expected);
}

void TestRulesJob::averagePercent_data() {
    QTest::addColumn<QVector<int32_t>>("percents");
    QTest::addColumn<int>("expected");
    QTest::newRow("33 and 100: 66.5 to 66") << QVector<int32_t>{33, 100} << 66;
    QTest::newRow("0 and 3: 1.5 to 2") << QVector<int32_t>{0, 3} << 2;
    QTest::newRow("0 and 1: 0.5 to 0") << QVector<int32_t>{0, 1} << 0;
    QTest::newRow("one task") << QVector<int32_t>{42} << 42;
    QTest::newRow("no task") << QVector<int32_t>{} << 0;
}

void TestRulesJob::averagePercent() {
    QFETCH(QVector<int32_t>, percents);
    QFETCH(int, expected);
    QCOMPARE(average_percent(percents), expected);
}

void TestRulesJob::reversedNumbers_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("newNumbers"); // of images 1 .. count
    QTest::addColumn<QList<int>>("bar");        // after each rename
    QTest::newRow("five") << 5 << QList<int>{5, 4, 3, 2, 1} << QList<int>{20, 40, 60, 80, 100};
    QTest::newRow("one") << 1 << QList<int>{1} << QList<int>{100};
    QTest::newRow("three") << 3 << QList<int>{3, 2, 1} << QList<int>{33, 67, 100};
    QTest::newRow("eight: 12.5 and 62.5 to even")
        << 8 << QList<int>{8, 7, 6, 5, 4, 3, 2, 1} << QList<int>{12, 25, 38, 50, 62, 75, 88, 100};
}

void TestRulesJob::reversedNumbers() {
    QFETCH(int, count);
    QFETCH(QList<int>, newNumbers);
    QFETCH(QList<int>, bar);
    for (int k = 1; k <= count; ++k) {
        QCOMPARE(reversed_number(k, count), newNumbers[k - 1]);
        QCOMPARE(rename_percent(k, count), bar[k - 1]);
    }
    QCOMPARE(rename_percent(0, 0), 0);
}

QTEST_APPLESS_MAIN(TestRulesJob)
#include "test_rules_job.moc"
