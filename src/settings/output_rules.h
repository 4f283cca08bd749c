#pragma once
// Codec options and frame sizes chosen from the output file's extension and facts about the
// source, and the option text of the assembly.

#include <QString>
#include <cstdint>

struct SourceFacts {
    QString infoText;    // the decoder's description of the source; empty when none
    int32_t rateNum = 0; // frame rate; 0/1 when unknown
    int32_t rateDen = 1;
    int32_t channels = -1; // audio channels; -1 without sound
    int32_t width = -1, height = -1;
    int32_t videoBitRate = 0, fileBitRate = 0;
    // Whether this FFmpeg can write the 3GP container's own sound codec (AMR-NB); where it
    // cannot, 3GP outputs take AAC instead of failing.
    bool amrEncoder = true;
};

// "." as decimal point, no exponent, no trailing zeros, up to 15 significant digits ("29.97",
// "25", "0.5", "1.005").
QString number_text(double value);
// The integer of a decimal text; throws std::invalid_argument when it is not one.
int whole_number(const QString& text);

QString ffcodec_rule(const QString& outputPath, const SourceFacts& source);
QString ffframesize_rule(const QString& width, const QString& height, const QString& outputPath,
                         const QString& infoText);

// The pieces of the filter chains.
QString tempo_piece(int tempo); // ",atempo=2,atempo=1.5" for 300; empty below 20; above 800 as 800
QString motion_piece(int motion); // ",setpts=0.5*PTS" for 200; empty for 0 or less

// The input option of the image sequence: read at the source's frame rate, 25 when the rate is
// not known.
QString image_input_options(int32_t rateNum, int32_t rateDen); // " -framerate 30000/1001"

enum class FrameSizeMode { Original, Custom, Crop };
enum class SoundSource { Mute, Original, Reverse, Other };

struct AssemblySettings {
    SoundSource sound = SoundSource::Original;
    bool changeVolume = false;
    int volume = 100;
    bool changeTempo = false;
    int tempo = 100;
    bool changeMotion = false;
    int motion = 100;
    FrameSizeMode frameSize = FrameSizeMode::Original;
    int customWidth = 2, customHeight = 2;     // the fields' values
    QString customWidthText, customHeightText; // the fields' texts (for the padding ratio)
    bool pad = false;
    int cropLeft = 0, cropTop = 0, cropRight = 0, cropBottom = 0;
    QString sourcePath, outputPath;
};

// The whole output option text: " -y -shortest" ... " -vf ..." " -af ...". A tempo above
// 800 is taken as 800. Throws std::invalid_argument when a custom size text is not a whole
// number.
QString assembly_output_options(const AssemblySettings& settings, const SourceFacts& source);
