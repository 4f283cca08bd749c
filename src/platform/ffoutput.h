#pragma once
// Checking a task's output against this FFmpeg (container, encoders, filters) and reading
// what its options do to the output's length.

#include "platform/ffexpected.h"
#include "platform/ffoptions.h"

#include <QString>
#include <vector>

namespace ffoutput {

// Fails with a reason when the container cannot be found from the "-f" option or the file's
// extension, an encoder is missing, or a filter chain cannot be used.
bool plan(const QString& file, const std::vector<ffoptions::Option>& options,
          ffexpected::Output& plan, QString& error);

// Arguments the component adds after a task's output options: for JPEG images, those that
// let them keep the picture's limited YUV range.
QStringList own_arguments(const QString& file, const std::vector<ffoptions::Option>& options);

// True when this FFmpeg can encode the default sound codec of the container that `extension`
// (".3gp") names.
bool default_audio_encoder_available(const QString& extension);

} // namespace ffoutput
