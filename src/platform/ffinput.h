#pragma once
// Opening a task's input with libavformat, with the input options that matter for opening
// it, to learn what it holds before the `ffmpeg` program runs.

#include "platform/ffexpected.h"
#include "platform/ffoptions.h"

#include <QString>
#include <vector>

namespace ffinput {

// Checks the options and probes the file. Fails with FFmpeg's reason ("<file>: No such file
// or directory").
bool probe(const QString& file, const std::vector<ffoptions::Option>& options,
           ffexpected::Input& facts, QString& error);

} // namespace ffinput
