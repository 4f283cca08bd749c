// The output option text of the assembly, declared in output_rules.h.
#include "settings/output_rules.h"

#include "source/loading_rules.h"

namespace {

struct SizeText {
    QString width, height;
};

QString pair_text(const QString& a, const QString& b) {
    return a + QLatin1Char(':') + b;
}

SizeText adjusted(const QString& width, const QString& height, const QString& outputPath,
                  const QString& infoText) {
    const QString size = ffframesize_rule(width, height, outputPath, infoText);
    return {size.section(QLatin1Char(':'), 0, 0), size.section(QLatin1Char(':'), 1, 1)};
}

int next_even(int value) {
    return value % 2 != 0 ? value + 1 : value;
}

QString codec_options(const AssemblySettings& settings, const SourceFacts& source) {
    const QString sourceExt = file_extension(settings.sourcePath).toLower();
    const QString outputExt = file_extension(settings.outputPath).toLower();
    QString text = ffcodec_rule(settings.outputPath, source);
    if (sourceExt != outputExt)
        return text + QStringLiteral(" -q:v 0 -q:a 0");
    if (source.videoBitRate <= 0 || source.videoBitRate > source.fileBitRate)
        text += QStringLiteral(" -q:v 0");
    else
        text += QStringLiteral(" -b:v ") + QString::number(source.videoBitRate);
    if (extension_in_list(outputExt, OUTPUT_EXTENSIONS))
        text += QStringLiteral(" -q:a 0");
    return text;
}

struct SizePieces {
    QString filter; // for the video filter chain
    QString aspect; // for the output option text
};

SizePieces padded_size(const AssemblySettings& settings, const SourceFacts& source,
                       const SizeText& size) {
    // The ratios compare what the user typed with the source, before any container rule.
    const double rw = whole_number(settings.customWidthText) / static_cast<double>(source.width);
    const double rh = whole_number(settings.customHeightText) / static_cast<double>(source.height);
    const QString w = QString::number(next_even(whole_number(size.width)));
    const QString h = QString::number(next_even(whole_number(size.height)));
    QString filter;
    if (rw < rh)
        filter =
            QStringLiteral(",scale=%1:%1/(iw/ih),pad=%1:%2:0:(oh-ow/(iw/ih))/2:black").arg(w, h);
    else if (rw > rh)
        filter =
            QStringLiteral(",scale=%2*(iw/ih):%2,pad=%1:%2:(ow-oh*(iw/ih))/2:0:black").arg(w, h);
    else
        filter = QStringLiteral(",scale=") + pair_text(w, h);
    return {filter, QStringLiteral(" -aspect ") + pair_text(w, h)};
}

SizePieces frame_size(const AssemblySettings& settings, const SourceFacts& source) {
    const QString& output = settings.outputPath;
    switch (settings.frameSize) {
    case FrameSizeMode::Original: {
        const QString w = QString::number(source.width);
        const QString h = QString::number(source.height);
        const SizeText size = adjusted(w, h, output, source.infoText);
        if (size.width == w && size.height == h)
            return {};
        const QString pair = pair_text(size.width, size.height);
        return {QStringLiteral(",scale=") + pair, QStringLiteral(" -aspect ") + pair};
    }
    case FrameSizeMode::Custom: {
        const SizeText size =
            adjusted(QString::number(settings.customWidth), QString::number(settings.customHeight),
                     output, source.infoText);
        if (settings.pad)
            return padded_size(settings, source, size);
        const QString pair = pair_text(size.width, size.height);
        return {QStringLiteral(",scale=") + pair, QStringLiteral(" -aspect ") + pair};
    }
    case FrameSizeMode::Crop: {
        const SizeText size = adjusted(QString::number(settings.cropRight - settings.cropLeft),
                                       QString::number(settings.cropBottom - settings.cropTop),
                                       output, source.infoText);
        return {QStringLiteral(",crop=%1:%2:%3:%4")
                    .arg(size.width, size.height)
                    .arg(settings.cropLeft)
                    .arg(settings.cropTop),
                {}};
    }
    }
    return {};
}

QString filter_option(const char* option, const QString& chain) {
    if (chain.trimmed().isEmpty())
        return {};
    return QLatin1String(option) + (chain.startsWith(QLatin1Char(',')) ? chain.mid(1) : chain);
}

} // namespace

QString assembly_output_options(const AssemblySettings& settings, const SourceFacts& source) {
    QString options = QStringLiteral(" -y -shortest");
    QString videoChain;
    QString audioChain;

    if (settings.changeVolume)
        audioChain += QStringLiteral(",volume=") + number_text(settings.volume / 100.0);
    if (settings.changeTempo && settings.tempo != 100)
        audioChain += tempo_piece(settings.tempo);
    if (settings.changeMotion && settings.motion != 100)
        videoChain += motion_piece(settings.motion);

    options += codec_options(settings, source);

    if (extension_in_list(file_extension(settings.outputPath), OUTPUT_EXTENSIONS)) {
        const SizePieces size = frame_size(settings, source);
        videoChain += size.filter;
        options += size.aspect;
    }

    options += filter_option(" -vf ", videoChain);
    options += filter_option(" -af ", audioChain);
    return options;
}
