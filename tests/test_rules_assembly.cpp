#include "settings/output_rules.h"

#include <QTest>
#include <stdexcept>

Q_DECLARE_METATYPE(SourceFacts)
Q_DECLARE_METATYPE(AssemblySettings)

class TestRulesAssembly : public QObject {
    Q_OBJECT

  private slots:
    void assembly_data();
    void assembly();
    void assemblyRefusesNonNumberPadSizes_data();
    void assemblyRefusesNonNumberPadSizes();
};

namespace {

// The decoder's description of an MPEG-4 AVI with PCM sound.
const QString MPEG4_AVI =
    "File Name: /videos/clip.avi\nFormat Name: avi\nFormat Long Name: AVI (Audio Video "
    "Interleaved)\nDuration: 00:00:10.00, start: 0.000000, bitrate: 1600 kb/s\n  Stream #0:0: "
    "Video: mpeg4 (Simple Profile) (FMP4 / 0x34504D46), yuv420p, 640x480, 25 fps\n  Stream "
    "#0:1: Audio: pcm_s16le ([1][0][0][0] / 0x0001), 44100 Hz, stereo, s16, 1411 kb/s\n";

// The complete example: clip.avi, MPEG-4 at 25 per second, 640 x 480, video bit rate 1500000
// of 1600000, stereo.
SourceFacts example_source() {
    SourceFacts f;
    f.infoText = MPEG4_AVI;
    f.rateNum = 25;
    f.rateDen = 1;
    f.channels = 2;
    f.width = 640;
    f.height = 480;
    f.videoBitRate = 1500000;
    f.fileBitRate = 1600000;
    return f;
}

SourceFacts sized(int width, int height) {
    SourceFacts f = example_source();
    f.width = width;
    f.height = height;
    return f;
}

// Reverse Sound, volume 150, motion 200, frame size Original, clip.avi to rev.avi.
AssemblySettings example_settings() {
    AssemblySettings s;
    s.sound = SoundSource::Reverse;
    s.changeVolume = true;
    s.volume = 150;
    s.changeMotion = true;
    s.motion = 200;
    s.sourcePath = "/videos/clip.avi";
    s.outputPath = "/videos/rev.avi";
    return s;
}

// Only the codec options: no filter, clip.avi to `output`.
AssemblySettings plain(const QString& output) {
    AssemblySettings s;
    s.sourcePath = "/videos/clip.avi";
    s.outputPath = output;
    return s;
}

AssemblySettings custom(const QString& output, int width, int height, bool pad) {
    AssemblySettings s = plain(output);
    s.frameSize = FrameSizeMode::Custom;
    s.customWidth = width;
    s.customHeight = height;
    s.customWidthText = QString::number(width);
    s.customHeightText = QString::number(height);
    s.pad = pad;
    return s;
}

} // namespace

void TestRulesAssembly::assembly_data() {
    QTest::addColumn<AssemblySettings>("settings");
    QTest::addColumn<SourceFacts>("source");
    QTest::addColumn<QString>("expected");

    const SourceFacts source = example_source();
    AssemblySettings s = example_settings();
    QTest::newRow("complete example") << s << source
                                      << " -y -shortest -c:v mpeg4 -b:v 1500000 -q:a 0 -vf "
                                         "setpts=0.5*PTS -af volume=1.5";
    s.outputPath = "/videos/rev.mp4";
    QTest::newRow("complete example to mp4")
        << s << source
        << " -y -shortest -c:v mpeg4 -q:v 0 -q:a 0 -vf setpts=0.5*PTS -af volume=1.5";
    s = example_settings();
    s.sound = SoundSource::Mute;
    QTest::newRow("mute keeps the sound filters")
        << s << source
        << " -y -shortest -c:v mpeg4 -b:v 1500000 -q:a 0 -vf setpts=0.5*PTS -af volume=1.5";

    s = plain("/videos/rev.avi");
    s.changeTempo = true;
    s.tempo = 700;
    QTest::newRow("tempo 700, motion unchanged")
        << s << source
        << " -y -shortest -c:v mpeg4 -b:v 1500000 -q:a 0 -af atempo=2,atempo=2,atempo=2,atempo=1.5";
    s.tempo = 1000;
    QTest::newRow("tempo above 800 as 800")
        << s << source
        << " -y -shortest -c:v mpeg4 -b:v 1500000 -q:a 0 -af atempo=2,atempo=2,atempo=2,atempo=2";
    s.tempo = 100;
    s.changeMotion = true;
    s.motion = 700;
    QTest::newRow("motion 700, tempo 100")
        << s << source << " -y -shortest -c:v mpeg4 -b:v 1500000 -q:a 0 -vf setpts=0.14*PTS";
    s.motion = 100;
    QTest::newRow("Change To with 100")
        << s << source << " -y -shortest -c:v mpeg4 -b:v 1500000 -q:a 0";
    s = plain("/videos/rev.avi");
    s.tempo = 300;
    s.motion = 300;
    QTest::newRow("values without Change To")
        << s << source << " -y -shortest -c:v mpeg4 -b:v 1500000 -q:a 0";
    s = plain("/videos/rev.avi");
    s.changeVolume = true;
    QTest::newRow("volume 100") << s << source
                                << " -y -shortest -c:v mpeg4 -b:v 1500000 -q:a 0 -af volume=1";
    s.volume = 50;
    s.changeTempo = true;
    s.tempo = 300;
    QTest::newRow("volume before tempo")
        << s << source
        << " -y -shortest -c:v mpeg4 -b:v 1500000 -q:a 0 -af volume=0.5,atempo=2,atempo=1.5";

    SourceFacts unknownRate = source;
    unknownRate.videoBitRate = 0;
    QTest::newRow("same extension, unknown video bit rate")
        << plain("/videos/rev.avi") << unknownRate << " -y -shortest -c:v mpeg4 -q:v 0 -q:a 0";
    unknownRate.videoBitRate = -1;
    QTest::newRow("same extension, video bit rate -1")
        << plain("/videos/rev.avi") << unknownRate << " -y -shortest -c:v mpeg4 -q:v 0 -q:a 0";
    SourceFacts aboveFile = source;
    aboveFile.videoBitRate = 1600001;
    QTest::newRow("video bit rate above the file's")
        << plain("/videos/rev.avi") << aboveFile << " -y -shortest -c:v mpeg4 -q:v 0 -q:a 0";
    s = plain("/videos/REV.AVI");
    s.sourcePath = "/videos/clip.Avi";
    QTest::newRow("extensions compared lower-cased")
        << s << source << " -y -shortest -c:v mpeg4 -b:v 1500000 -q:a 0";

    s = custom("/videos/rev.ogv", 320, 240, false);
    s.sourcePath = "/videos/clip.ogv";
    QTest::newRow("ogv to ogv: no size, no -q:a") << s << source << " -y -shortest -b:v 1500000";
    QTest::newRow("avi to ogv") << custom("/videos/rev.ogv", 320, 240, true) << source
                                << " -y -shortest -q:v 0 -q:a 0";

    QTest::newRow("rm, Original 642x362")
        << plain("/videos/rev.rm") << sized(642, 362)
        << " -y -shortest -c:v rv20 -q:v 0 -q:a 0 -aspect 644:364 -vf scale=644:364";
    QTest::newRow("rm, Original 640x480")
        << plain("/videos/rev.rm") << sized(640, 480) << " -y -shortest -c:v rv20 -q:v 0 -q:a 0";
    QTest::newRow("Original, even sizes kept in mp4")
        << plain("/videos/rev.mp4") << sized(1280, 720) << " -y -shortest -c:v mpeg4 -q:v 0 -q:a 0";

    QTest::newRow("Custom without padding")
        << custom("/videos/rev.mp4", 641, 481, false) << source
        << " -y -shortest -c:v mpeg4 -q:v 0 -q:a 0 -aspect 642:482 -vf scale=642:482";
    QTest::newRow("Custom with padding, fit the width")
        << custom("/videos/rev.mp4", 640, 480, true) << sized(1920, 800)
        << " -y -shortest -c:v mpeg4 -q:v 0 -q:a 0 -aspect 640:480 -vf "
           "scale=640:640/(iw/ih),pad=640:480:0:(oh-ow/(iw/ih))/2:black";
    QTest::newRow("Custom with padding, fit the height")
        << custom("/videos/rev.mp4", 1280, 720, true) << sized(640, 480)
        << " -y -shortest -c:v mpeg4 -q:v 0 -q:a 0 -aspect 1280:720 -vf "
           "scale=720*(iw/ih):720,pad=1280:720:(ow-oh*(iw/ih))/2:0:black";
    QTest::newRow("Custom with padding, same proportion")
        << custom("/videos/rev.mp4", 1280, 960, true) << sized(640, 480)
        << " -y -shortest -c:v mpeg4 -q:v 0 -q:a 0 -aspect 1280:960 -vf scale=1280:960";
    // 642/640 > 481/480 as typed, though the adjusted 644/640 < 484/480.
    QTest::newRow("padding ratios from the typed sizes")
        << custom("/videos/rev.rm", 642, 481, true) << sized(640, 480)
        << " -y -shortest -c:v rv20 -q:v 0 -q:a 0 -aspect 644:484 -vf "
           "scale=484*(iw/ih):484,pad=644:484:(ow-oh*(iw/ih))/2:0:black";
    QTest::newRow("padding makes odd sizes even")
        << custom("/videos/rev.avi", 641, 481, true) << sized(640, 480)
        << " -y -shortest -c:v mpeg4 -b:v 1500000 -q:a 0 -aspect 642:482 -vf "
           "scale=642:642/(iw/ih),pad=642:482:0:(oh-ow/(iw/ih))/2:black";

    s = example_settings();
    s.outputPath = "/videos/rev.mp4";
    s.frameSize = FrameSizeMode::Crop;
    s.cropLeft = 100;
    s.cropTop = 50;
    s.cropRight = 741;
    s.cropBottom = 411;
    QTest::newRow("Crop after the motion piece")
        << s << source
        << " -y -shortest -c:v mpeg4 -q:v 0 -q:a 0 -vf setpts=0.5*PTS,crop=642:362:100:50 -af "
           "volume=1.5";
    s.outputPath = "/videos/rev.avi";
    QTest::newRow("Crop kept odd in avi")
        << s << source
        << " -y -shortest -c:v mpeg4 -b:v 1500000 -q:a 0 -vf setpts=0.5*PTS,crop=641:361:100:50 "
           "-af volume=1.5";
}

void TestRulesAssembly::assembly() {
    QFETCH(AssemblySettings, settings);
    QFETCH(SourceFacts, source);
    QFETCH(QString, expected);
    QCOMPARE(assembly_output_options(settings, source), expected);
}

void TestRulesAssembly::assemblyRefusesNonNumberPadSizes_data() {
    QTest::addColumn<QString>("widthText");
    QTest::addColumn<QString>("heightText");
    QTest::newRow("empty width") << ""
                                 << "480";
    QTest::newRow("letters in the height") << "640"
                                           << "48o";
}

void TestRulesAssembly::assemblyRefusesNonNumberPadSizes() {
    QFETCH(QString, widthText);
    QFETCH(QString, heightText);
    AssemblySettings s = custom("/videos/rev.mp4", 640, 480, true);
    s.customWidthText = widthText;
    s.customHeightText = heightText;
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, assembly_output_options(s, sized(640, 480)));
}

QTEST_APPLESS_MAIN(TestRulesAssembly)
#include "test_rules_assembly.moc"
