#pragma once
// FFmpeg command-line option texts: splitting them into arguments and reading them the way
// the `ffmpeg` program does (which options take a value, which are flags).

#include <QString>
#include <QStringList>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

namespace ffoptions {

struct Option {
    QString name;  // without the leading '-', stream specifier included ("c:v")
    QString value; // empty for flags
    bool hasValue = false;

    QString base() const;      // the name before any ':' ("c" of "c:v")
    QString specifier() const; // after the first ':' ("v" of "c:v"), empty when none
};

// Splits an option text on blanks; empty pieces are dropped.
QStringList split_text(const QString& text);

// A file as the `ffmpeg` program must be given it: relative names become absolute, so that
// no name is read as an option ("-x.avi") or a protocol ("a:b.avi").
QString file_argument(const QString& file);

// Reads arguments as a series of options. Fails with a reason when an argument is not an
// option, an option is unknown to this FFmpeg, or an option lacks its value.
bool parse(const QStringList& args, std::vector<Option>& out, QString& error);

// An option of the `ffmpeg` program itself, not of a codec, format, scaler or resampler.
bool is_program_option(const QString& base);

// The last option whose base is one of `bases` (FFmpeg lets the last one win).
const Option* last(const std::vector<Option>& options, std::initializer_list<const char*> bases);
bool has_flag(const std::vector<Option>& options, const char* base);

// FFmpeg's time duration syntax ("00:00:01.500", "1.5", "1500ms"), in microseconds.
bool parse_duration(const QString& text, int64_t& microseconds);

// Checks the values of the time and rate options FFmpeg would refuse.
bool check_values(const std::vector<Option>& options, QString& error);

} // namespace ffoptions
