#include "platform/fflogcapture.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

extern "C" {
#include <libavutil/log.h>
}

namespace fflog {
namespace {

std::mutex capturing;
thread_local QByteArray* collected = nullptr;

void collect(void* context, int level, const char* format, va_list args) {
    if (!collected || level != AV_LOG_INFO) {
        av_log_default_callback(context, level, format, args);
        return;
    }
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0)
        return;
    const qsizetype at = collected->size();
    collected->resize(at + length + 1);
    std::vsnprintf(collected->data() + at, size_t(length) + 1, format, args);
    collected->resize(at + length);
}

// Our callback stays installed exactly as long as this lives, also when the work throws.
struct Installed {
    explicit Installed(QByteArray* text) {
        collected = text;
        av_log_set_callback(collect);
    }
    ~Installed() {
        av_log_set_callback(av_log_default_callback);
        collected = nullptr;
    }
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;
};

} // namespace

QStringList capture_info(const std::function<void()>& work) {
    QByteArray text;
    {
        const std::lock_guard lock(capturing);
        const Installed installed(&text);
        work();
    }
    QStringList lines = QString::fromUtf8(text).split('\n');
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace fflog
