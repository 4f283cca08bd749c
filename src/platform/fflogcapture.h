#pragma once
// Collects what FFmpeg writes to its log at the information level while a piece of work
// runs on the calling thread, such as the report of av_dump_format.

#include <QStringList>
#include <functional>

namespace fflog {
// FFmpeg's log callback belongs to the whole process: while `work` runs, a callback of our
// own takes the calling thread's information lines and hands every other message to
// av_log_default_callback; afterwards av_log_default_callback is installed again. Captures
// from several threads take turns.
QStringList capture_info(const std::function<void()>& work);
} // namespace fflog
