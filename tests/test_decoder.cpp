// The source decoder on real clips made with the ffmpeg program.

#include "fixtures.h"
#include "platform/ffdecoder.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <atomic>
#include <cmath>
#include <thread>

namespace {

constexpr int kFps = 25;
constexpr int kFrames = 50; // two seconds
constexpr int kKeyInterval = 10;

// Frame n of the rising-brightness clips has luma 16 + n * 200 / (kFrames - 1); a grey
// picture converts to R = G = B = (luma - 16) * 255 / 219.
double frame_number_of(const QImage& image) {
    double sum = 0;
    int count = 0;
    for (int y = image.height() / 4; y < image.height() * 3 / 4; y += 3)
        for (int x = image.width() / 4; x < image.width() * 3 / 4; x += 3, ++count)
            sum += qGreen(image.pixel(x, y));
    const double luma = sum / count * 219 / 255;
    return luma / (200.0 / (kFrames - 1));
}

QStringList fixed_key_frames(const QStringList& codec) {
    return codec + QStringList{"-g", QString::number(kKeyInterval)};
}

struct Clips {
    QString folder, mp4, avi, wmv, mkv, ts, audioOnly, empty, garbage;
};

const Clips& clips() {
    static const Clips made = [] {
        Clips c;
        c.folder = fixtures::temp_folder("clips with 'odd' names");
        fixtures::ClipSpec clip;
        clip.seconds = double(kFrames) / kFps;
        clip.fps = kFps;

        clip.codecArgs = fixed_key_frames({"-c:v", "libx264", "-keyint_min", "10", "-sc_threshold",
                                           "0", "-c:a", "aac", "-metadata", "title=Rising light"});
        c.mp4 = fixtures::make_clip(c.folder + "/Ünïcode clip.mp4", clip);
        clip.codecArgs = fixed_key_frames(
            {"-c:v", "libx264", "-keyint_min", "10", "-sc_threshold", "0", "-c:a", "aac"});
        c.mkv = fixtures::make_clip(c.folder + "/clip.mkv", clip);
        c.ts = fixtures::make_clip(c.folder + "/clip.ts", clip);
        clip.codecArgs = {"-c:v", "wmv2", "-c:a", "wmav2"};
        c.wmv = fixtures::make_clip(c.folder + "/clip.wmv", clip);
        clip.channels = 0;
        clip.codecArgs = fixed_key_frames(
            {"-c:v", "mpeg4", "-vtag", "XVID", "-q:v", "2", "-sc_threshold", "1000000000"});
        c.avi = fixtures::make_clip(c.folder + "/silent clip.avi", clip);

        c.audioOnly = fixtures::make_rising_wav(c.folder + "/sound only.mp4", 1.5, 2, 48000, "aac");
        c.empty = c.folder + "/empty.avi";
        QFile(c.empty).open(QIODevice::WriteOnly);
        c.garbage = c.folder + "/garbage.avi";
        QFile garbage(c.garbage);
        garbage.open(QIODevice::WriteOnly);
        for (int i = 0; i < 2000; ++i)
            garbage.write("this is not a video at all ");
        return c;
    }();
    return made;
}

} // namespace

class TestDecoder : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { clips(); }
    void nothingOpenGivesDefaults();
    void openFailsCleanly_data();
    void openFailsCleanly();
    void streamInfo_data();
    void streamInfo();
    void soundOnlyFileOpensWithoutVideo();
    void infoTextNamesFileContainerAndCodecs_data();
    void infoTextNamesFileContainerAndCodecs();
    void infoTextsOfTwoThreadsStayApart();
    void seekBackwardGivesKeyFrameAtOrBefore_data();
    void seekBackwardGivesKeyFrameAtOrBefore();
    void decodesOnToTheEnd_data();
    void decodesOnToTheEnd();
    void framePtsCountsFromTheStreamStart();
    void copyFrameToBitmapSizes();
    void relativeNameStartingWithADash();
};

void TestDecoder::nothingOpenGivesDefaults() {
    TFFDecoder decoder;
    QCOMPARE(decoder.VideoStreamCount(), 0);
    QCOMPARE(decoder.FirstVideoStream(), -1);
    QCOMPARE(decoder.FirstAudioStream(), -1);
    QCOMPARE(decoder.GetFileStreamInfo().Duration, DURATION_UNKNOWN);
    QCOMPARE(decoder.GetVideoStreamInfo().Duration, -1);
    QCOMPARE(decoder.GetVideoStreamInfo().FrameRateNum, 0);
    QCOMPARE(decoder.GetVideoStreamInfo().FrameRateDen, 1);
    QCOMPARE(decoder.GetAudioStreamInfo().Channels, -1);
    QVERIFY(decoder.GetFileInfoText().isEmpty());
    QVERIFY(!decoder.Seek(SEEK_FLAG_BACKWARD, 0));
    QVERIFY(!decoder.DecodeVideoFrame(0));
    QImage bitmap;
    QVERIFY(!decoder.CopyFrameToBitmap(bitmap));
    QVERIFY(!decoder.LastError().isEmpty());
}

void TestDecoder::openFailsCleanly_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("error");
    QTest::newRow("empty file") << clips().empty << "Invalid data found when processing input";
    QTest::newRow("garbage named .avi")
        << clips().garbage << "Invalid data found when processing input";
    QTest::newRow("missing") << clips().folder + "/missing.mp4"
                             << "No such file or directory";
}

void TestDecoder::openFailsCleanly() {
    QFETCH(QString, path);
    QFETCH(QString, error);
    TFFDecoder decoder;
    QVERIFY(decoder.OpenFile(clips().mp4));
    QVERIFY(decoder.DecodeVideoFrame(decoder.FirstVideoStream()));

    QVERIFY(!decoder.OpenFile(path));
    QCOMPARE(decoder.LastError(), error);
    // The file open before is closed.
    QCOMPARE(decoder.VideoStreamCount(), 0);
    QCOMPARE(decoder.AudioStreamCount(), 0);
    QCOMPARE(decoder.FirstVideoStream(), -1);
    QVERIFY(decoder.FileName().isEmpty());
    QVERIFY(decoder.GetFileInfoText().isEmpty());
    QCOMPARE(decoder.GetFileStreamInfo().Duration, DURATION_UNKNOWN);
    QImage bitmap;
    QVERIFY(!decoder.CopyFrameToBitmap(bitmap));
}

void TestDecoder::streamInfo_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("audioStreams");
    QTest::addColumn<int>("channels");
    QTest::addColumn<bool>("streamDurationKnown");
    QTest::newRow("H.264 MP4") << clips().mp4 << 1 << 2 << true;
    QTest::newRow("MPEG-4 AVI") << clips().avi << 0 << -1 << true;
    QTest::newRow("WMV") << clips().wmv << 1 << 2 << true;
    QTest::newRow("Matroska") << clips().mkv << 1 << 2 << false;
}

void TestDecoder::streamInfo() {
    QFETCH(QString, path);
    QFETCH(int, audioStreams);
    QFETCH(int, channels);
    QFETCH(bool, streamDurationKnown);
    TFFDecoder decoder;
    QVERIFY2(decoder.OpenFile(path), qPrintable(decoder.LastError()));
    QCOMPARE(decoder.FileName(), path);
    QCOMPARE(decoder.VideoStreamCount(), 1);
    QCOMPARE(decoder.AudioStreamCount(), audioStreams);
    QVERIFY(decoder.FirstVideoStream() >= 0);
    QCOMPARE(decoder.FirstAudioStream() >= 0, audioStreams > 0);
    QVERIFY(decoder.FirstAudioStream() != decoder.FirstVideoStream());

    const fixtures::StreamFacts facts = fixtures::probe(path);
    const TFileStreamInfo file = decoder.GetFileStreamInfo();
    QCOMPARE(file.Duration, std::llround(facts.duration * 1e6));
    QVERIFY(std::abs(file.Duration - 2000000) < 100000);
    QVERIFY(file.BitRate > 0);

    const TVideoStreamInfo video = decoder.GetVideoStreamInfo();
    QCOMPARE(video.Width, 320);
    QCOMPARE(video.Height, 240);
    QCOMPARE(double(video.FrameRateNum) / video.FrameRateDen, double(kFps));
    if (streamDurationKnown)
        QVERIFY(std::abs(video.Duration - 2000000) < 50000);
    else
        QCOMPARE(video.Duration, -1);

    const TAudioStreamInfo audio = decoder.GetAudioStreamInfo();
    QCOMPARE(audio.Channels, channels);
    QCOMPARE(audio.SampleRate, channels > 0 ? 44100 : 0);
}

void TestDecoder::soundOnlyFileOpensWithoutVideo() {
    TFFDecoder decoder;
    QVERIFY(decoder.OpenFile(clips().mp4));
    QVERIFY(decoder.OpenFile(clips().audioOnly));
    QCOMPARE(decoder.VideoStreamCount(), 0);
    QCOMPARE(decoder.FirstVideoStream(), -1);
    QCOMPARE(decoder.AudioStreamCount(), 1);
    QCOMPARE(decoder.FirstAudioStream(), 0);
    QCOMPARE(decoder.GetAudioStreamInfo().Channels, 2);
    QCOMPARE(decoder.GetAudioStreamInfo().SampleRate, 48000);
    QCOMPARE(decoder.GetVideoStreamInfo().Width, -1);
    QVERIFY(decoder.GetFileStreamInfo().Duration > 1400000);
    QVERIFY(!decoder.DecodeVideoFrame(0));
    QVERIFY(decoder.GetFileInfoText().contains("Audio: aac"));
}

void TestDecoder::infoTextNamesFileContainerAndCodecs_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("mentions");
    QTest::newRow("H.264 MP4") << clips().mp4
                               << QStringList{"Input #0, mov,mp4,m4a,3gp,3g2,mj2, from",
                                              "Format Name: mov,mp4,m4a,3gp,3g2,mj2",
                                              "Video: h264 (High) (avc1 / 0x31637661)",
                                              "320x240",
                                              "Audio: aac",
                                              "title           : Rising light",
                                              "Duration: 00:00:02.0"};
    QTest::newRow("MPEG-4 AVI") << clips().avi
                                << QStringList{"Input #0, avi, from",
                                               "Video: mpeg4 (Simple Profile) (XVID / 0x44495658)"};
    QTest::newRow("WMV") << clips().wmv
                         << QStringList{"Input #0, asf, from", "Video: wmv2", "Audio: wmav2"};
}

void TestDecoder::infoTextNamesFileContainerAndCodecs() {
    QFETCH(QString, path);
    QFETCH(QStringList, mentions);
    TFFDecoder decoder;
    QVERIFY(decoder.OpenFile(path));
    const QString text = decoder.GetFileInfoText();
    const QStringList lines = text.split('\n');
    QCOMPARE(lines.first(), "File Name: " + path);
    QVERIFY(!lines.filter(QRegularExpression("^  Stream #0:0")).isEmpty());
    QVERIFY2(text.contains(QFileInfo(path).fileName()), qPrintable(text));
    for (const QString& mention : mentions)
        QVERIFY2(text.contains(mention), qPrintable(mention + " missing from:\n" + text));
    // Asking twice gives the same text: nothing is left over from the first capture.
    QCOMPARE(decoder.GetFileInfoText(), text);
}

void TestDecoder::infoTextsOfTwoThreadsStayApart() {
    // FFmpeg's log callback is shared by the process; each capture must get its own lines.
    TFFDecoder first, second;
    QVERIFY(first.OpenFile(clips().mp4));
    QVERIFY(second.OpenFile(clips().avi));
    const QString firstText = first.GetFileInfoText(), secondText = second.GetFileInfoText();
    std::atomic<int> mismatches = 0;
    auto repeat = [&](TFFDecoder& decoder, const QString& expected) {
        for (int i = 0; i < 50; ++i)
            mismatches += decoder.GetFileInfoText() != expected;
    };
    std::thread other([&] { repeat(second, secondText); });
    repeat(first, firstText);
    other.join();
    QCOMPARE(mismatches.load(), 0);
}

void TestDecoder::seekBackwardGivesKeyFrameAtOrBefore_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<qint64>("positionUs");
    const struct {
        const char* name;
        QString path;
    } files[] = {{"mp4", clips().mp4}, {"avi", clips().avi}, {"mkv", clips().mkv}};
    // Frame 20 starts at 800000 µs; 799999 still lies in frame 19.
    for (const auto& file : files)
        for (qint64 at : {0, 500000, 799999, 800000, 1220000, 1960000})
            QTest::addRow("%s at %lld", file.name, at) << file.path << at;
}

void TestDecoder::seekBackwardGivesKeyFrameAtOrBefore() {
    QFETCH(QString, path);
    QFETCH(qint64, positionUs);
    TFFDecoder decoder;
    QVERIFY(decoder.OpenFile(path));
    // Start from the far end, so that a seek that does not move shows.
    QVERIFY(decoder.Seek(SEEK_FLAG_BACKWARD, 1990000));
    QVERIFY(decoder.DecodeVideoFrame(decoder.FirstVideoStream()));

    QVERIFY2(decoder.Seek(SEEK_FLAG_BACKWARD, positionUs), qPrintable(decoder.LastError()));
    QVERIFY2(decoder.DecodeVideoFrame(decoder.FirstVideoStream()), qPrintable(decoder.LastError()));
    QImage bitmap;
    QVERIFY(decoder.CopyFrameToBitmap(bitmap));
    const int frameAtPosition = int(positionUs * kFps / 1000000);
    const int keyFrame = frameAtPosition / kKeyInterval * kKeyInterval;
    QCOMPARE(std::lround(frame_number_of(bitmap)), keyFrame);
    QCOMPARE(decoder.FramePTS(), qint64(keyFrame) * 1000000 / kFps);
}

void TestDecoder::decodesOnToTheEnd_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("mp4") << clips().mp4;
    QTest::newRow("avi") << clips().avi;
}

void TestDecoder::decodesOnToTheEnd() {
    QFETCH(QString, path);
    TFFDecoder decoder;
    QVERIFY(decoder.OpenFile(path));
    QVERIFY(decoder.Seek(SEEK_FLAG_BACKWARD, 1300000));
    QImage bitmap;
    QVector<int> frames;
    while (decoder.DecodeVideoFrame(decoder.FirstVideoStream())) {
        QVERIFY(decoder.CopyFrameToBitmap(bitmap, QSize(64, 48)));
        const int n = int(std::lround(frame_number_of(bitmap)));
        QCOMPARE(decoder.FramePTS(), qint64(n) * 1000000 / kFps);
        frames << n;
    }
    QVector<int> expected;
    for (int n = 30; n < kFrames; ++n)
        expected << n;
    QCOMPARE(frames, expected);
    QVERIFY(!decoder.LastError().isEmpty());
    // A seek after the end starts decoding again.
    QVERIFY(decoder.Seek(SEEK_FLAG_BACKWARD, 0));
    QVERIFY(decoder.DecodeVideoFrame(decoder.FirstVideoStream()));
    QCOMPARE(decoder.FramePTS(), 0);
}

void TestDecoder::framePtsCountsFromTheStreamStart() {
    // MPEG-TS streams start well after zero.
    TFFDecoder decoder;
    QVERIFY(decoder.OpenFile(clips().ts));
    QVERIFY(decoder.DecodeVideoFrame(decoder.FirstVideoStream()));
    QCOMPARE(decoder.FramePTS(), 0);
    QImage bitmap;
    QVERIFY(decoder.CopyFrameToBitmap(bitmap));
    QCOMPARE(std::lround(frame_number_of(bitmap)), 0);

    QVERIFY(decoder.Seek(SEEK_FLAG_BACKWARD, 1220000));
    QVERIFY(decoder.DecodeVideoFrame(decoder.FirstVideoStream()));
    QVERIFY(decoder.CopyFrameToBitmap(bitmap));
    const long n = std::lround(frame_number_of(bitmap));
    QVERIFY2(n <= 30 && n % kKeyInterval == 0, qPrintable(QString::number(n)));
    QCOMPARE(decoder.FramePTS(), qint64(n) * 1000000 / kFps);
}

void TestDecoder::copyFrameToBitmapSizes() {
    TFFDecoder decoder;
    QVERIFY(decoder.OpenFile(clips().mp4));
    QImage bitmap;
    QVERIFY(!decoder.CopyFrameToBitmap(bitmap));
    QVERIFY(decoder.Seek(SEEK_FLAG_BACKWARD, 1600000));
    QVERIFY(decoder.DecodeVideoFrame(decoder.FirstVideoStream()));

    const QSize sizes[] = {QSize(356, 188), QSize(320, 240), QSize(1000, 700), QSize(7, 5)};
    for (const QSize size : sizes) {
        QImage scaled(10, 10, QImage::Format_ARGB32);
        QVERIFY(decoder.CopyFrameToBitmap(scaled, size));
        QCOMPARE(scaled.size(), size);
        QCOMPARE(qAlpha(scaled.pixel(size.width() / 2, size.height() / 2)), 255);
        QCOMPARE(std::lround(frame_number_of(scaled)), 40);
    }
    QVERIFY(decoder.CopyFrameToBitmap(bitmap));
    QCOMPARE(bitmap.size(), QSize(320, 240));
    QCOMPARE(std::lround(frame_number_of(bitmap)), 40);
    QVERIFY(!decoder.CopyFrameToBitmap(bitmap, QSize(0, 188)));
}

void TestDecoder::relativeNameStartingWithADash() {
    const QString name = "-dash \"name\".avi";
    QVERIFY(QFile::copy(clips().avi, clips().folder + "/" + name));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(clips().folder));
    TFFDecoder decoder;
    const bool opened = decoder.OpenFile(name);
    QDir::setCurrent(previous);
    QVERIFY2(opened, qPrintable(decoder.LastError()));
    QCOMPARE(decoder.FileName(), name);
    QVERIFY(decoder.DecodeVideoFrame(decoder.FirstVideoStream()));
    QVERIFY(decoder.GetFileInfoText().contains(name));
}

QTEST_GUILESS_MAIN(TestDecoder)
#include "test_decoder.moc"
