#include "settings/output_rules.h"

#include "common/helpers_rules.h"
#include "source/loading_rules.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <stdexcept>

namespace {

// What the codec and size rules search: the whole description, the path and the metadata
// included.
class InfoText {
  public:
    explicit InfoText(const QString& text) : lower_(text.toLower()) {}
    bool mentions(const char* word) const { return lower_.contains(QLatin1String(word)); }

  private:
    QString lower_;
};

bool is_one_of(const QString& extension, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(),
                       [&](const char* name) { return extension == QLatin1String(name); });
}

// The mpeg4 encoder refuses a time base whose terms do not fit in 16 bits, so a rate with a
// larger numerator is given again, rounded to hundredths.
QString mpeg4_fallback(const SourceFacts& source) {
    QString text = QStringLiteral(" -c:v mpeg4");
    if (source.rateNum <= 65535)
        return text;
    const double hundredths =
        std::nearbyint(static_cast<double>(source.rateNum) / source.rateDen * 100);
    if (!(hundredths / 100 <= 65535)) // also an infinite rate from a denominator of 0
        return text;
    return text + QStringLiteral(" -r ") + number_text(hundredths / 100);
}

int next_even(int value) {
    return value % 2 != 0 ? value + 1 : value;
}

int next_multiple_of_4(int value) {
    return value % 4 != 0 ? value - value % 4 + 4 : value;
}

} // namespace

int whole_number(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw std::invalid_argument("'" + text.toStdString() + "' is not a valid integer value");
    return value;
}

QString number_text(double value) {
    QString text = QString::number(value, 'g', 15);
    if (!text.contains(QLatin1Char('e')))
        return text;
    text = QString::number(value, 'f', 15);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QString ffcodec_rule(const QString& outputPath, const SourceFacts& source) {
    const QString ext = file_extension(outputPath).toLower().trimmed();
    const InfoText info(source.infoText);
    const QString x264 = QStringLiteral(" -c:v libx264");
    QString text;

    if (ext == QLatin1String(".avi")) {
        if (info.mentions("264"))
            text += x264;
        else if (info.mentions("xvid"))
            text += QStringLiteral(" -c:v libxvid");
        else
            text += mpeg4_fallback(source);
    }
    if (is_one_of(ext, {".flv", ".swf"}))
        text += QStringLiteral(" -ar 44100");
    if (ext == QLatin1String(".flv")) {
        if (info.mentions("264"))
            text += x264;
        else if (info.mentions("mpeg4"))
            text += mpeg4_fallback(source);
        else
            text += QStringLiteral(" -c:v flv1");
    }
    if (is_one_of(ext, {".mp4", ".m4v", ".3gp"}))
        text += info.mentions("264") ? x264 : mpeg4_fallback(source);
    if (ext == QLatin1String(".mp4") && info.mentions("mp3"))
        text += QStringLiteral(" -c:a libmp3lame");
    if (is_one_of(ext, {".mkv", ".mts"}))
        text += x264;
    if (ext == QLatin1String(".3gp")) {
        text += QStringLiteral(" -ar 8000 -ac 1");
        if (!source.amrEncoder)
            text += QStringLiteral(" -c:a aac");
    }
    if (ext == QLatin1String(".rm"))
        text += QStringLiteral(" -c:v rv20");
    if (ext == QLatin1String(".wmv")) {
        text += info.mentions("wmv") ? QStringLiteral(" -c:v wmv2") : mpeg4_fallback(source);
        text += QStringLiteral(" -c:a wmav2");
    }
    if (ext == QLatin1String(".webm"))
        text += QStringLiteral(" -f webm -c:v libvpx -c:a libvorbis");
    if (is_one_of(ext, {".mpg", ".mpeg"})) {
        // An unknown rate (denominator 0) counts as rate 0.
        const double rate =
            source.rateDen == 0 ? 0.0 : static_cast<double>(source.rateNum) / source.rateDen;
        if (rate < 20)
            text += QStringLiteral(" -r 20");
    }
    if (is_one_of(ext, {".avi", ".mpg", ".mpeg", ".wmv", ".m4v", ".flv", ".swf", ".mkv", ".vob",
                        ".asf"}) &&
        source.channels > 2)
        text += QStringLiteral(" -ac 2");
    return text;
}

QString ffframesize_rule(const QString& width, const QString& height, const QString& outputPath,
                         const QString& infoText) {
    const QString ext = file_extension(outputPath).toLower();
    const InfoText info(infoText);
    const int w = whole_number(width);
    const int h = whole_number(height);
    int newW = w;
    int newH = h;
    if (ext == QLatin1String(".rm")) {
        newW = next_multiple_of_4(w);
        newH = next_multiple_of_4(h);
    } else if (ext == QLatin1String(".wmv") && info.mentions("wmv")) {
        newW = next_even(w);
    } else if (!ext.isEmpty() && QStringLiteral(".avi.mpg.mpeg.flv.webm.vob.asf").contains(ext)) {
        if (info.mentions("264")) {
            newW = next_even(w);
            newH = next_even(h);
        }
    } else {
        newW = next_even(w);
        newH = next_even(h);
    }
    const QString wText = newW == w ? width : QString::number(newW);
    const QString hText = newH == h ? height : QString::number(newH);
    return wText + QLatin1Char(':') + hText;
}

QString tempo_piece(int tempo) {
    const int t = std::min(tempo, 800);
    const auto atempo = [](double factor) {
        return QStringLiteral(",atempo=") + number_text(factor);
    };
    if (t > 600)
        return QStringLiteral(",atempo=2,atempo=2,atempo=2") + atempo((t - 400) / 2.0 / 100);
    if (t > 400)
        return QStringLiteral(",atempo=2,atempo=2") + atempo((t - 200) / 2.0 / 100);
    if (t > 200)
        return QStringLiteral(",atempo=2") + atempo(t / 2.0 / 100);
    if (t >= 50)
        return atempo(t / 100.0);
    if (t >= 20)
        return QStringLiteral(",atempo=0.5") + atempo((t + 50) / 100.0);
    return {};
}

QString motion_piece(int motion) {
    if (motion <= 0)
        return {};
    // Two decimals, cut rather than rounded.
    const double factor = (10000 / motion) / 100.0;
    return QStringLiteral(",setpts=") + number_text(factor) + QStringLiteral("*PTS");
}

QString image_input_options(int32_t rateNum, int32_t rateDen) {
    if (rateNum <= 0 || rateDen <= 0)
        return QStringLiteral(" -framerate 25");
    return QStringLiteral(" -framerate %1/%2").arg(rateNum).arg(rateDen);
}
