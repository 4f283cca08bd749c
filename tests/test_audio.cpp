// Reversal of the extracted sound on libsndfile.

#include "fixtures.h"
#include "platform/audiofile.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <numeric>
#include <sndfile.h>

namespace {

struct Sound {
    int channels = 0;
    int subtype = 0;
    int sampleRate = 0;
    sf_count_t frames = 0;
    QVector<double> samples; // interleaved
    double at(sf_count_t frame, int channel) const { return samples[frame * channels + channel]; }
};

Sound read_sound(const QString& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file)
        qFatal("cannot read %s: %s", qPrintable(path), sf_strerror(nullptr));
    Sound sound{info.channels, info.format & SF_FORMAT_SUBMASK, info.samplerate, info.frames, {}};
    sound.samples.resize(info.frames * info.channels);
    sf_readf_double(file, sound.samples.data(), info.frames);
    sf_close(file);
    return sound;
}

// A sound in which only channel `loud` is heard, rising from silence; `layout` is FFmpeg's
// channel layout name.
QString make_one_channel_heard(const QString& path, const QString& layout, int channels, int loud) {
    QStringList exprs;
    for (int c = 0; c < channels; ++c)
        exprs << (c == loud ? "t*sin(2*PI*330*t)" : "0");
    fixtures::run_ffmpeg({"-f", "lavfi", "-i",
                          QString("aevalsrc='%1':c=%2:s=22050:d=1").arg(exprs.join('|'), layout),
                          "-c:a", "pcm_s16le", path});
    return path;
}

QString folder() {
    return fixtures::temp_folder("Ünïcode sound's folder");
}

} // namespace

class TestAudio : public QObject {
    Q_OBJECT

  private slots:
    void reversesEachChannelBitExact_data();
    void reversesEachChannelBitExact();
    void monoBecomesTwoIdenticalChannels();
    void mixesDownWithoutLosingAChannel_data();
    void mixesDownWithoutLosingAChannel();
    void loudToSilentBecomesSilentToLoud_data();
    void loudToSilentBecomesSilentToLoud();
    void transformReportsProgressThenEnd();
    void failureLeavesNoOutput_data();
    void failureLeavesNoOutput();
    void namesStartingWithADash();
};

void TestAudio::reversesEachChannelBitExact_data() {
    QTest::addColumn<QString>("codec");
    QTest::addColumn<int>("subtype");
    QTest::addColumn<double>("seconds");
    QTest::newRow("16-bit, several blocks") << "pcm_s16le" << int(SF_FORMAT_PCM_16) << 7.3;
    QTest::newRow("16-bit, a few frames") << "pcm_s16le" << int(SF_FORMAT_PCM_16) << 0.001;
    QTest::newRow("24-bit") << "pcm_s24le" << int(SF_FORMAT_PCM_24) << 1.1;
    QTest::newRow("8-bit") << "pcm_u8" << int(SF_FORMAT_PCM_U8) << 1.1;
    QTest::newRow("32-bit float") << "pcm_f32le" << int(SF_FORMAT_FLOAT) << 1.1;
}

void TestAudio::reversesEachChannelBitExact() {
    QFETCH(QString, codec);
    QFETCH(int, subtype);
    QFETCH(double, seconds);
    const QString input = fixtures::make_rising_wav(folder() + "/original " + codec + ".wav",
                                                    seconds, 2, 44100, codec);
    const QString output = folder() + "/backward " + codec + ".wav";

    const AudioReverseResult result = reverse_audio_file(input, output, {});
    QVERIFY2(result.ok, qPrintable(result.error));

    const Sound in = read_sound(input), out = read_sound(output);
    QVERIFY(in.frames > 0);
    QCOMPARE(out.channels, 2);
    QCOMPARE(out.subtype, subtype);
    QCOMPARE(out.sampleRate, in.sampleRate);
    QCOMPARE(out.frames, in.frames);
    for (sf_count_t i = 0; i < in.frames; ++i)
        for (int c = 0; c < 2; ++c)
            if (out.at(i, c) != in.at(in.frames - 1 - i, c))
                QFAIL(qPrintable(QString("frame %1 channel %2 differs").arg(i).arg(c)));
}

void TestAudio::monoBecomesTwoIdenticalChannels() {
    const QString input = fixtures::make_rising_wav(folder() + "/mono.wav", 1.7, 1);
    const QString output = folder() + "/mono backward.wav";
    QVERIFY(reverse_audio_file(input, output, {}).ok);

    const Sound in = read_sound(input), out = read_sound(output);
    QCOMPARE(out.channels, 2);
    QCOMPARE(out.frames, in.frames);
    for (sf_count_t i = 0; i < in.frames; ++i) {
        const double expected = in.at(in.frames - 1 - i, 0);
        if (out.at(i, 0) != expected || out.at(i, 1) != expected)
            QFAIL(qPrintable(QString("frame %1 differs").arg(i)));
    }
}

void TestAudio::mixesDownWithoutLosingAChannel_data() {
    QTest::addColumn<QString>("layout");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("heard");
    QTest::addColumn<bool>("left");
    QTest::addColumn<bool>("right");
    QTest::newRow("3.0 front left") << "3.0" << 3 << 0 << true << false;
    QTest::newRow("3.0 front right") << "3.0" << 3 << 1 << false << true;
    QTest::newRow("3.0 centre") << "3.0" << 3 << 2 << true << true;
    QTest::newRow("5.1 centre") << "5.1" << 6 << 2 << true << true;
    QTest::newRow("5.1 LFE") << "5.1" << 6 << 3 << true << true;
    QTest::newRow("5.1 back left") << "5.1" << 6 << 4 << true << false;
    QTest::newRow("5.1 back right") << "5.1" << 6 << 5 << false << true;
}

void TestAudio::mixesDownWithoutLosingAChannel() {
    QFETCH(QString, layout);
    QFETCH(int, channels);
    QFETCH(int, heard);
    QFETCH(bool, left);
    QFETCH(bool, right);
    const QString stem = folder() + QString("/%1 heard %2").arg(layout).arg(heard);
    const QString input = make_one_channel_heard(stem + ".wav", layout, channels, heard);
    const QString output = stem + " backward.wav";
    QVERIFY(reverse_audio_file(input, output, {}).ok);

    QCOMPARE(read_sound(output).channels, 2);
    const bool expected[2] = {left, right};
    for (int side = 0; side < 2; ++side) {
        const QVector<double> loudness = fixtures::channel_loudness(output, side, 4);
        QCOMPARE(loudness.size(), 4);
        if (expected[side]) {
            QVERIFY2(loudness[0] > 0.05, qPrintable(QString("side %1 is not heard").arg(side)));
            QVERIFY(loudness[0] > loudness[1] && loudness[1] > loudness[2] &&
                    loudness[2] > loudness[3]);
        } else {
            QCOMPARE(std::accumulate(loudness.begin(), loudness.end(), 0.0), 0.0);
        }
    }
}

void TestAudio::loudToSilentBecomesSilentToLoud_data() {
    QTest::addColumn<int>("channels");
    QTest::newRow("mono") << 1;
    QTest::newRow("stereo") << 2;
}

void TestAudio::loudToSilentBecomesSilentToLoud() {
    QFETCH(int, channels);
    const QString input = folder() + QString("/fading %1.wav").arg(channels);
    const QStringList fading(channels, "(3-t)/3*sin(2*PI*440*t)");
    fixtures::run_ffmpeg({"-f", "lavfi", "-i",
                          QString("aevalsrc='%1':s=44100:d=3").arg(fading.join('|')), "-c:a",
                          "pcm_s16le", input});
    const QString output = folder() + QString("/fading %1 backward.wav").arg(channels);
    QVERIFY(reverse_audio_file(input, output, {}).ok);

    for (int side = 0; side < 2; ++side) {
        const QVector<double> loudness = fixtures::channel_loudness(output, side, 6);
        QCOMPARE(loudness.size(), 6);
        QVERIFY(loudness[0] < 0.1 && loudness[5] > 0.5);
        for (int w = 1; w < loudness.size(); ++w)
            QVERIFY(loudness[w] > loudness[w - 1]);
    }
}

void TestAudio::transformReportsProgressThenEnd() {
    // Long enough for many blocks.
    const QString input = fixtures::make_rising_wav(folder() + "/long.wav", 45, 2);
    const QString output = folder() + "/long backward.wav";
    const Sound in = read_sound(input);

    TAudioTransform2 transform;
    QVector<int> reports;
    sf_count_t framesAtEnd = -1;
    int reportsAtEnd = -1;
    connect(&transform, &TAudioTransform2::OnTransformBlock,
            [&](int percent) { reports << percent; });
    connect(&transform, &TAudioTransform2::OnEndTransform, [&] {
        framesAtEnd = read_sound(output).frames;
        reportsAtEnd = int(reports.size());
    });
    QSignalSpy ends(&transform, &TAudioTransform2::OnEndTransform);

    QVERIFY2(transform.Reverse(input, output), qPrintable(transform.LastError()));
    QCOMPARE(ends.count(), 1);
    QCOMPARE(framesAtEnd, in.frames);
    QCOMPARE(reportsAtEnd, reports.size());
    QVERIFY(reports.size() > 5);
    QCOMPARE(reports.first(), 0);
    QCOMPARE(reports.last(), 100);
    for (int i = 1; i < reports.size(); ++i)
        QVERIFY(reports[i] > reports[i - 1]);
}

void TestAudio::failureLeavesNoOutput_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("error");
    const QString good = fixtures::make_rising_wav(folder() + "/good.wav", 0.5, 2);
    QFile garbage(folder() + "/not a sound.wav");
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(5000, 'x'));
    garbage.close();
    QTest::newRow("missing input") << folder() + "/missing.wav" << folder() + "/out missing.wav"
                                   << "No such file";
    QTest::newRow("not a sound") << garbage.fileName() << folder() + "/out garbage.wav"
                                 << "not recognised";
    QTest::newRow("output folder missing") << good << folder() + "/no such folder/backward.wav"
                                           << "No such file";
}

void TestAudio::failureLeavesNoOutput() {
    QFETCH(QString, input);
    QFETCH(QString, output);
    QFETCH(QString, error);
    TAudioTransform2 transform;
    QSignalSpy ends(&transform, &TAudioTransform2::OnEndTransform);
    QVERIFY(!transform.Reverse(input, output));
    QVERIFY2(transform.LastError().contains(error, Qt::CaseInsensitive),
             qPrintable(transform.LastError()));
    QCOMPARE(ends.count(), 0);
    QVERIFY(!QFile::exists(output));
}

void TestAudio::namesStartingWithADash() {
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder()));
    fixtures::make_rising_wav(folder() + "/-dash \"quoted\".wav", 0.3, 2);
    const AudioReverseResult result =
        reverse_audio_file("-dash \"quoted\".wav", "-dash backward.wav", {});
    QDir::setCurrent(previous);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(read_sound(folder() + "/-dash backward.wav").frames,
             read_sound(folder() + "/-dash \"quoted\".wav").frames);
}

QTEST_GUILESS_MAIN(TestAudio)
#include "test_audio.moc"
