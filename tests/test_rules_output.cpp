#include "settings/framesize_rules.h"
#include "settings/output_rules.h"

#include <QTest>
#include <stdexcept>

Q_DECLARE_METATYPE(SourceFacts)

class TestRulesOutput : public QObject {
    Q_OBJECT

  private slots:
    void numberText_data();
    void numberText();
    void ffcodec_data();
    void ffcodec();
    void ffframesize_data();
    void ffframesize();
    void ffframesizeRefusesNonNumbers();
    void tempoPiece_data();
    void tempoPiece();
    void motionPiece_data();
    void motionPiece();
    void imageInput_data();
    void imageInput();
    void proportionalValue_data();
    void proportionalValue();
};

namespace {

// Descriptions in the decoder's wording.
const QString MPEG4_AVI =
    "File Name: /videos/clip.avi\nFormat Name: avi\nFormat Long Name: AVI (Audio Video "
    "Interleaved)\nDuration: 00:00:10.00, start: 0.000000, bitrate: 1600 kb/s\n  Stream #0:0: "
    "Video: mpeg4 (Simple Profile) (FMP4 / 0x34504D46), yuv420p, 640x480, 25 fps\n  Stream "
    "#0:1: Audio: pcm_s16le ([1][0][0][0] / 0x0001), 44100 Hz, stereo, s16, 1411 kb/s\n";
const QString XVID_AVI =
    "File Name: /videos/clip.avi\nFormat Name: avi\n  Stream #0:0: Video: mpeg4 (Advanced "
    "Simple Profile) (XVID / 0x44495658), yuv420p, 640x480, 25 fps\n";
const QString H264_MKV =
    "File Name: /videos/clip.mkv\nFormat Name: matroska,webm\n  Stream #0:0: Video: h264 "
    "(High), yuv420p(progressive), 1920x1080, 25 fps\n  Stream #0:1: Audio: aac (LC), 48000 "
    "Hz, stereo, fltp\n";
const QString H264_MP3 =
    "File Name: /videos/clip.mov\nFormat Name: mov,mp4,m4a,3gp,3g2,mj2\n  Stream #0:0: Video: "
    "h264 (High) (avc1 / 0x31637661), yuv420p, 1280x720, 25 fps\n  Stream #0:1: Audio: mp3 "
    "(.mp3 / 0x33706D2E), 44100 Hz, stereo, fltp\n";
const QString MPEG2_MPG = "File Name: /videos/clip.mpg\nFormat Name: mpeg\n  Stream #0:0[0x1e0]: "
                          "Video: mpeg2video (Main), yuv420p(tv), 720x576, 25 fps\n";
const QString WMV_ASF = "File Name: /videos/clip.wmv\nFormat Name: asf\n  Stream #0:0: Video: "
                        "wmv2 (WMV2 / 0x32564D57), yuv420p, 640x480\n  Stream #0:1: Audio: "
                        "wmav2 (a[1][0][0] / 0x0161), 44100 Hz, 5.1, fltp\n";
const QString HOLIDAY =
    "File Name: /videos/holiday264.avi\nFormat Name: avi\n  Stream #0:0: Video: mpeg4 (Simple "
    "Profile) (FMP4 / 0x34504D46), yuv420p, 640x480, 25 fps\n";

SourceFacts facts(const QString& info, int num, int den, int channels) {
    SourceFacts f;
    f.infoText = info;
    f.rateNum = num;
    f.rateDen = den;
    f.channels = channels;
    return f;
}

} // namespace

void TestRulesOutput::numberText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("29.97") << 2997 / 100.0 << "29.97";
    QTest::newRow("whole") << 25.0 << "25";
    QTest::newRow("0.5") << 0.5 << "0.5";
    QTest::newRow("0.33") << 33 / 100.0 << "0.33";
    QTest::newRow("1.005") << 201 / 2.0 / 100 << "1.005";
    QTest::newRow("sum with binary noise") << 0.1 + 0.2 << "0.3";
    QTest::newRow("small, no exponent") << 1e-7 << "0.0000001";
    QTest::newRow("large, no exponent") << 1e20 << "100000000000000000000";
}

void TestRulesOutput::numberText() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(number_text(value), expected);
}

void TestRulesOutput::ffcodec_data() {
    QTest::addColumn<QString>("output");
    QTest::addColumn<SourceFacts>("source");
    QTest::addColumn<QString>("expected");
    QTest::newRow("avi from H.264") << "/o/rev.avi" << facts(H264_MKV, 25, 1, 2) << " -c:v libx264";
    QTest::newRow("avi from XVID") << "/o/rev.avi" << facts(XVID_AVI, 25, 1, 2) << " -c:v libxvid";
    QTest::newRow("avi from MPEG-4 with 6 channels")
        << "/o/rev.avi" << facts(MPEG4_AVI, 25, 1, 6) << " -c:v mpeg4 -ac 2";
    QTest::newRow("flv from H.264")
        << "/o/rev.flv" << facts(H264_MKV, 25, 1, 2) << " -ar 44100 -c:v libx264";
    QTest::newRow("flv from MPEG-4")
        << "/o/rev.flv" << facts(MPEG4_AVI, 25, 1, 2) << " -ar 44100 -c:v mpeg4";
    QTest::newRow("flv from MPEG-2")
        << "/o/rev.flv" << facts(MPEG2_MPG, 25, 1, 2) << " -ar 44100 -c:v flv1";
    QTest::newRow("mp4 from H.264 with MP3")
        << "/o/rev.mp4" << facts(H264_MP3, 25, 1, 2) << " -c:v libx264 -c:a libmp3lame";
    QTest::newRow("mp4 with 6 channels, no -ac")
        << "/o/rev.mp4" << facts(MPEG4_AVI, 25, 1, 6) << " -c:v mpeg4";
    QTest::newRow("m4v") << "/o/rev.m4v" << facts(MPEG4_AVI, 25, 1, 6) << " -c:v mpeg4 -ac 2";
    QTest::newRow("mkv with 6 channels")
        << "/o/rev.mkv" << facts(MPEG4_AVI, 25, 1, 6) << " -c:v libx264 -ac 2";
    QTest::newRow("3gp") << "/o/rev.3gp" << facts(MPEG4_AVI, 30, 1, 2)
                         << " -c:v mpeg4 -ar 8000 -ac 1";
    SourceFacts withoutAmr = facts(MPEG4_AVI, 30, 1, 2);
    withoutAmr.amrEncoder = false;
    QTest::newRow("3gp where FFmpeg cannot write AMR-NB")
        << "/o/rev.3gp" << withoutAmr << " -c:v mpeg4 -ar 8000 -ac 1 -c:a aac";
    QTest::newRow("rm") << "/o/rev.rm" << facts(MPEG4_AVI, 25, 1, 6) << " -c:v rv20";
    QTest::newRow("wmv from WMV with 6 channels")
        << "/o/rev.wmv" << facts(WMV_ASF, 25, 1, 6) << " -c:v wmv2 -c:a wmav2 -ac 2";
    QTest::newRow("wmv from MPEG-4")
        << "/o/rev.wmv" << facts(MPEG4_AVI, 25, 1, 2) << " -c:v mpeg4 -c:a wmav2";
    QTest::newRow("webm") << "/o/rev.webm" << facts(H264_MKV, 25, 1, 2)
                          << " -f webm -c:v libvpx -c:a libvorbis";
    QTest::newRow("mts") << "/o/rev.mts" << facts(MPEG4_AVI, 25, 1, 6) << " -c:v libx264";
    QTest::newRow("mpg at 15 with 6 channels")
        << "/o/rev.mpg" << facts(MPEG2_MPG, 15, 1, 6) << " -r 20 -ac 2";
    QTest::newRow("mpeg at 20") << "/o/rev.mpeg" << facts(MPEG2_MPG, 20, 1, 2) << "";
    QTest::newRow("mpg at 19.98") << "/o/rev.mpg" << facts(MPEG2_MPG, 1998, 100, 2) << " -r 20";
    QTest::newRow("vob with 6 channels") << "/o/rev.vob" << facts(MPEG2_MPG, 25, 1, 6) << " -ac 2";
    QTest::newRow("asf with 6 channels") << "/o/rev.asf" << facts(WMV_ASF, 25, 1, 6) << " -ac 2";
    QTest::newRow("swf") << "/o/rev.swf" << facts(H264_MKV, 25, 1, 2) << " -ar 44100";
    QTest::newRow("mov") << "/o/rev.mov" << facts(H264_MKV, 25, 1, 6) << "";
    QTest::newRow("ts") << "/o/rev.ts" << facts(MPEG4_AVI, 25, 1, 6) << "";
    QTest::newRow("mp matches no rule") << "/o/rev.mp" << facts(H264_MKV, 25, 1, 6) << "";
    QTest::newRow("upper-case AVI")
        << "/o/Reversed.AVI" << facts(XVID_AVI, 25, 1, 2) << " -c:v libxvid";
    QTest::newRow("extension trimmed")
        << "/o/rev.avi " << facts(MPEG4_AVI, 25, 1, 2) << " -c:v mpeg4";
    QTest::newRow("rate 2997003/100000")
        << "/o/rev.avi" << facts(MPEG4_AVI, 2997003, 100000, 2) << " -c:v mpeg4 -r 29.97";
    QTest::newRow("rate 2500000/100000")
        << "/o/rev.avi" << facts(MPEG4_AVI, 2500000, 100000, 2) << " -c:v mpeg4 -r 25";
    QTest::newRow("rate 30000/1001")
        << "/o/rev.avi" << facts(MPEG4_AVI, 30000, 1001, 2) << " -c:v mpeg4";
    QTest::newRow("numerator 65535")
        << "/o/rev.avi" << facts(MPEG4_AVI, 65535, 1, 2) << " -c:v mpeg4";
    QTest::newRow("numerator 65536")
        << "/o/rev.avi" << facts(MPEG4_AVI, 65536, 2, 2) << " -c:v mpeg4 -r 32768";
    QTest::newRow("rate above 65535")
        << "/o/rev.avi" << facts(MPEG4_AVI, 70000, 1, 2) << " -c:v mpeg4";
    QTest::newRow("fallback in wmv with a large rate")
        << "/o/rev.wmv" << facts(MPEG4_AVI, 2997003, 100000, 2)
        << " -c:v mpeg4 -r 29.97 -c:a wmav2";
    QTest::newRow("nothing loaded: avi") << "/o/rev.avi" << SourceFacts{} << " -c:v mpeg4";
    QTest::newRow("nothing loaded: mpg") << "/o/rev.mpg" << SourceFacts{} << " -r 20";
    QTest::newRow("rate with denominator 0: mpg")
        << "/o/rev.mpg" << facts(MPEG2_MPG, 25, 0, 2) << " -r 20";
    for (const char* ext : {".avi", ".mp4", ".m4v"})
        QTest::addRow("holiday264 to %s", ext)
            << QString("/o/rev") + ext << facts(HOLIDAY, 25, 1, 2) << " -c:v libx264";
    QTest::newRow("holiday264 to .flv")
        << "/o/rev.flv" << facts(HOLIDAY, 25, 1, 2) << " -ar 44100 -c:v libx264";
    QTest::newRow("holiday264 to .3gp")
        << "/o/rev.3gp" << facts(HOLIDAY, 25, 1, 2) << " -c:v libx264 -ar 8000 -ac 1";
}

void TestRulesOutput::ffcodec() {
    QFETCH(QString, output);
    QFETCH(SourceFacts, source);
    QFETCH(QString, expected);
    QCOMPARE(ffcodec_rule(output, source), expected);
}

void TestRulesOutput::ffframesize_data() {
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("info");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("expected");
    QTest::newRow("rm to multiples of 4") << "/o/rev.rm" << H264_MKV << "642"
                                          << "481"
                                          << "644:484";
    QTest::newRow("rm kept") << "/o/rev.rm" << MPEG4_AVI << "640"
                             << "480"
                             << "640:480";
    QTest::newRow("rm 638x358") << "/o/rev.rm" << MPEG4_AVI << "638"
                                << "358"
                                << "640:360";
    QTest::newRow("wmv from WMV keeps an odd height") << "/o/rev.wmv" << WMV_ASF << "641"
                                                      << "481"
                                                      << "642:481";
    QTest::newRow("wmv otherwise") << "/o/rev.wmv" << MPEG4_AVI << "641"
                                   << "481"
                                   << "642:482";
    QTest::newRow("avi from H.264") << "/o/rev.avi" << H264_MKV << "641"
                                    << "481"
                                    << "642:482";
    QTest::newRow("avi without 264") << "/o/rev.avi" << MPEG4_AVI << "641"
                                     << "481"
                                     << "641:481";
    QTest::newRow("holiday264 to avi") << "/o/rev.avi" << HOLIDAY << "641"
                                       << "481"
                                       << "642:482";
    QTest::newRow("holiday264 to webm") << "/o/rev.webm" << HOLIDAY << "641"
                                        << "481"
                                        << "642:482";
    QTest::newRow("Reversed.AVI") << "/o/Reversed.AVI" << MPEG4_AVI << "641"
                                  << "481"
                                  << "641:481";
    QTest::newRow("mp is part of .mpg") << "/o/rev.mp" << MPEG4_AVI << "641"
                                        << "481"
                                        << "641:481";
    QTest::newRow("mpeg without 264") << "/o/rev.mpeg" << MPEG2_MPG << "641"
                                      << "481"
                                      << "641:481";
    QTest::newRow("mp4") << "/o/rev.mp4" << MPEG4_AVI << "641"
                         << "481"
                         << "642:482";
    QTest::newRow("mkv") << "/o/rev.mkv" << WMV_ASF << "641"
                         << "481"
                         << "642:482";
    QTest::newRow("mov") << "/o/rev.mov"
                         << ""
                         << "641"
                         << "481"
                         << "642:482";
    QTest::newRow("no extension") << "/o/rev"
                                  << ""
                                  << "641"
                                  << "481"
                                  << "642:482";
    QTest::newRow("unchanged values keep their text") << "/o/rev.rm"
                                                      << ""
                                                      << "0640"
                                                      << "+480"
                                                      << "0640:+480";
    QTest::newRow("changed values are written anew") << "/o/rev.mp4"
                                                     << ""
                                                     << "0641"
                                                     << "+480"
                                                     << "642:+480";
}

void TestRulesOutput::ffframesize() {
    QFETCH(QString, output);
    QFETCH(QString, info);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, expected);
    QCOMPARE(ffframesize_rule(width, height, output, info), expected);
}

void TestRulesOutput::ffframesizeRefusesNonNumbers() {
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                             ffframesize_rule("64x", "480", "/o/rev.mp4", QString()));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                             ffframesize_rule("640", "", "/o/rev.mp4", QString()));
}

void TestRulesOutput::tempoPiece_data() {
    QTest::addColumn<int>("tempo");
    QTest::addColumn<QString>("expected");
    QTest::newRow("700") << 700 << ",atempo=2,atempo=2,atempo=2,atempo=1.5";
    QTest::newRow("601") << 601 << ",atempo=2,atempo=2,atempo=2,atempo=1.005";
    QTest::newRow("600") << 600 << ",atempo=2,atempo=2,atempo=2";
    QTest::newRow("500") << 500 << ",atempo=2,atempo=2,atempo=1.5";
    QTest::newRow("401") << 401 << ",atempo=2,atempo=2,atempo=1.005";
    QTest::newRow("400") << 400 << ",atempo=2,atempo=2";
    QTest::newRow("300") << 300 << ",atempo=2,atempo=1.5";
    QTest::newRow("201") << 201 << ",atempo=2,atempo=1.005";
    QTest::newRow("200") << 200 << ",atempo=2";
    QTest::newRow("150") << 150 << ",atempo=1.5";
    QTest::newRow("50") << 50 << ",atempo=0.5";
    QTest::newRow("49") << 49 << ",atempo=0.5,atempo=0.99";
    QTest::newRow("30") << 30 << ",atempo=0.5,atempo=0.8";
    QTest::newRow("20") << 20 << ",atempo=0.5,atempo=0.7";
    QTest::newRow("19 adds nothing") << 19 << "";
    QTest::newRow("800") << 800 << ",atempo=2,atempo=2,atempo=2,atempo=2";
    QTest::newRow("above 800 as 800") << 1000 << ",atempo=2,atempo=2,atempo=2,atempo=2";
}

void TestRulesOutput::tempoPiece() {
    QFETCH(int, tempo);
    QFETCH(QString, expected);
    QCOMPARE(tempo_piece(tempo), expected);
}

void TestRulesOutput::motionPiece_data() {
    QTest::addColumn<int>("motion");
    QTest::addColumn<QString>("expected");
    QTest::newRow("200") << 200 << ",setpts=0.5*PTS";
    QTest::newRow("300 cut, not rounded") << 300 << ",setpts=0.33*PTS";
    QTest::newRow("70") << 70 << ",setpts=1.42*PTS";
    QTest::newRow("20") << 20 << ",setpts=5*PTS";
    QTest::newRow("800") << 800 << ",setpts=0.12*PTS";
    QTest::newRow("700") << 700 << ",setpts=0.14*PTS";
    QTest::newRow("0 adds nothing") << 0 << "";
}

void TestRulesOutput::motionPiece() {
    QFETCH(int, motion);
    QFETCH(QString, expected);
    QCOMPARE(motion_piece(motion), expected);
}

void TestRulesOutput::imageInput_data() {
    QTest::addColumn<int>("num");
    QTest::addColumn<int>("den");
    QTest::addColumn<QString>("expected");
    QTest::newRow("NTSC") << 30000 << 1001 << " -framerate 30000/1001";
    QTest::newRow("25/1") << 25 << 1 << " -framerate 25/1";
    QTest::newRow("unknown 0/1") << 0 << 1 << " -framerate 25";
    QTest::newRow("denominator 0") << 25 << 0 << " -framerate 25";
    QTest::newRow("negative") << -30 << 1 << " -framerate 25";
}

void TestRulesOutput::imageInput() {
    QFETCH(int, num);
    QFETCH(int, den);
    QFETCH(QString, expected);
    QCOMPARE(image_input_options(num, den), expected);
}

void TestRulesOutput::proportionalValue_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("expected"); // -1: nothing
    QTest::newRow("640x480, width 320") << "320" << 640 << 480 << 240;
    QTest::newRow("640x480, width 6: 4.5 to 4") << "6" << 640 << 480 << 4;
    QTest::newRow("640x480, width 10: 7.5 to 8") << "10" << 640 << 480 << 8;
    QTest::newRow("640x480, width 2: 1.5 to 2") << "2" << 640 << 480 << 2;
    QTest::newRow("1920x1080, width 3: 1.6875") << "3" << 1920 << 1080 << 2;
    QTest::newRow("1920x1080, height 2 back to width") << "2" << 1080 << 1920 << 4;
    QTest::newRow("480x640, width 9000") << "9000" << 480 << 640 << 12000;
    QTest::newRow("1 stays below the fields' minimum") << "1" << 640 << 480 << 1;
    QTest::newRow("nothing loaded: -1 by -1") << "500" << -1 << -1 << 500;
    QTest::newRow("product wraps in 32 bits") << "70000" << 1 << 70000 << 605032704;
    QTest::newRow("from 0") << "320" << 0 << 480 << 0;
    QTest::newRow("empty text") << "" << 640 << 480 << -1;
    QTest::newRow("not a number") << "3x" << 640 << 480 << -1;
}

void TestRulesOutput::proportionalValue() {
    QFETCH(QString, typed);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, expected);
    const std::optional<int> value = proportional_value(typed, from, to);
    if (expected < 0)
        QVERIFY(!value.has_value());
    else
        QCOMPARE(value, std::optional<int>(expected));
}

QTEST_APPLESS_MAIN(TestRulesOutput)
#include "test_rules_output.moc"
