#include "job/reverse_rules.h"

#include "common/helpers_rules.h"
#include "source/loading_rules.h"

#include <QStringList>

namespace {

QString filter_entry(const QString& extensionWithoutDot) {
    return QStringLiteral("*.") + extensionWithoutDot.toUpper() + QStringLiteral("|*.") +
           extensionWithoutDot.toLower() + QStringLiteral("|");
}

long double fraction(int value, int max) {
    return max == 0 ? 0.0L : static_cast<long double>(value) / max;
}

} // namespace

SaveDialogSetup save_dialog_setup(const QString& sourcePath, bool startAtMinimum) {
    const QString extension = file_extension(sourcePath);
    const QString upper = extension.toUpper();
    const QString exact = upper.trimmed();
    const bool rmOrAvi = exact == QLatin1String(".RM") || exact == QLatin1String(".AVI");

    SaveDialogSetup setup;
    const auto named = [&setup](const QString& name) {
        setup.filter = filter_entry(name);
        setup.defaultExt = name;
    };
    if (exact == QLatin1String(".RMVB")) {
        named(startAtMinimum ? QStringLiteral("rm") : QStringLiteral("mpg"));
    } else if (exact == QLatin1String(".H264")) {
        named(QStringLiteral("mkv"));
    } else if (rmOrAvi && !startAtMinimum) {
        named(QStringLiteral("mpg"));
    } else if (rmOrAvi || extension_in_list(extension, OUTPUT_EXTENSIONS)) {
        setup.filter = QStringLiteral("*") + upper + QStringLiteral("|*") + extension.toLower() +
                       QStringLiteral("|");
        setup.defaultExt = extension.mid(1);
    } else {
        named(startAtMinimum ? QStringLiteral("avi") : QStringLiteral("mpg"));
    }

    const QString defaultUpper = setup.defaultExt.toUpper();
    for (const QString& pattern : OUTPUT_EXTENSIONS.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = pattern.mid(2);
        if (name.toUpper() != defaultUpper)
            setup.filter += filter_entry(name);
    }
    return setup;
}

Segment segment_of(int beginValue, int beginMax, int endValue, int endMax, int64_t durationUs) {
    const long double begin = fraction(beginValue, beginMax);
    const long double end = fraction(endValue, endMax);
    const auto duration = static_cast<long double>(durationUs);
    return {round_even_extended(begin * duration), round_even_extended((end - begin) * duration)};
}

QString frames_input_options(const Segment& s) {
    return QStringLiteral(" -ss ") + timecode_text(s.startUs);
}

QString frames_output_options(const Segment& s) {
    return QStringLiteral(" -t ") + timecode_text(s.lengthUs) +
           QStringLiteral(" -y -q:v 0 -f image2");
}

QString sound_output_options(const Segment& s) {
    return QStringLiteral(" -t ") + timecode_text(s.lengthUs) + QStringLiteral(" -y -q:a 0");
}

int32_t task_percent(int64_t currentUs, int64_t totalUs) {
    if (totalUs == 0)
        return 0;
    const int64_t scaled = currentUs * 100;
    return static_cast<int32_t>(
        round_even(static_cast<double>(scaled) / static_cast<double>(totalUs)));
}

int32_t average_percent(const QVector<int32_t>& percents) {
    if (percents.isEmpty())
        return 0;
    int64_t sum = 0;
    for (const int32_t p : percents)
        sum += p;
    return static_cast<int32_t>(
        round_even(static_cast<double>(sum) / static_cast<double>(percents.size())));
}

int32_t rename_percent(int64_t done, int64_t total) {
    if (total == 0)
        return 0;
    const double part = static_cast<double>(done) / static_cast<double>(total);
    return static_cast<int32_t>(round_even(100 * part));
}
