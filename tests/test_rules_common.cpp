#include "common/helpers_rules.h"

#include <QTest>
#include <cmath>

class TestRulesCommon : public QObject {
    Q_OBJECT

  private slots:
    void roundEven_data();
    void roundEven();
    void roundEvenExtended();
    void timecodeText_data();
    void timecodeText();
    void fitRect_data();
    void fitRect();
};

void TestRulesCommon::roundEven_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("half to even below") << 0.5 << qint64(0);
    QTest::newRow("half to even above") << 1.5 << qint64(2);
    QTest::newRow("2.5") << 2.5 << qint64(2);
    QTest::newRow("66.5") << 66.5 << qint64(66);
    QTest::newRow("-0.5") << -0.5 << qint64(0);
    QTest::newRow("-1.5") << -1.5 << qint64(-2);
    QTest::newRow("-2.5") << -2.5 << qint64(-2);
    QTest::newRow("below half") << 299.49 << qint64(299);
    QTest::newRow("above half") << 299.7 << qint64(300);
    QTest::newRow("not a number") << std::nan("") << qint64(0);
}

void TestRulesCommon::roundEven() {
    QFETCH(double, value);
    QFETCH(qint64, expected);
    QCOMPARE(round_even(value), expected);
}

void TestRulesCommon::roundEvenExtended() {
    QCOMPARE(round_even_extended(2.5L), 2);
    QCOMPARE(round_even_extended(3.5L), 4);
    // A tie that only the 64-bit mantissa can hold: 2^53 + 0.5.
    QCOMPARE(round_even_extended(9007199254740992.5L), 9007199254740992LL);
    QCOMPARE(round_even_extended(9007199254740993.5L), 9007199254740994LL);
}

void TestRulesCommon::timecodeText_data() {
    QTest::addColumn<qint64>("microseconds");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all fields") << qint64(3723004000) << "01:02:03.004";
    QTest::newRow("milliseconds truncated") << qint64(999999) << "00:00:00.999";
    QTest::newRow("zero") << qint64(0) << "00:00:00.000";
    QTest::newRow("100 hours, not modulo 24") << qint64(360000000000) << "100:00:00.000";
    QTest::newRow("negative, each field signed") << qint64(-1500000) << "00:00:-01.-500";
    QTest::newRow("half a second") << qint64(5005000) << "00:00:05.005";
    QTest::newRow("59:59.999") << qint64(3599999999) << "00:59:59.999";
}

void TestRulesCommon::timecodeText() {
    QFETCH(qint64, microseconds);
    QFETCH(QString, expected);
    QCOMPARE(timecode_text(microseconds), expected);
}

Q_DECLARE_METATYPE(Edges)

void TestRulesCommon::fitRect_data() {
    QTest::addColumn<Edges>("source");
    QTest::addColumn<Edges>("dest");
    QTest::addColumn<Edges>("expected");
    const Edges preview{0, 0, 356, 188};
    QTest::newRow("640x360") << Edges{0, 0, 640, 360} << preview << Edges{11, 0, 345, 188};
    QTest::newRow("640x480") << Edges{0, 0, 640, 480} << preview << Edges{53, 0, 303, 188};
    QTest::newRow("720x576, margin 60.5 to 60")
        << Edges{0, 0, 720, 576} << preview << Edges{60, 0, 296, 188};
    QTest::newRow("same size") << Edges{0, 0, 356, 188} << preview << preview;
    QTest::newRow("wide source: bars above and below")
        << Edges{0, 0, 1920, 800} << preview << Edges{0, 20, 356, 168};
    QTest::newRow("destination not at the origin")
        << Edges{0, 0, 640, 480} << Edges{10, 20, 366, 208} << Edges{63, 20, 313, 208};
}

void TestRulesCommon::fitRect() {
    QFETCH(Edges, source);
    QFETCH(Edges, dest);
    QFETCH(Edges, expected);
    const Edges result = fit_rect(source, dest);
    QVERIFY2(result == expected, qPrintable(QStringLiteral("(%1, %2, %3, %4)")
                                                .arg(result.left)
                                                .arg(result.top)
                                                .arg(result.right)
                                                .arg(result.bottom)));
}

QTEST_APPLESS_MAIN(TestRulesCommon)
#include "test_rules_common.moc"
