#include "platform/ffprogress.h"

#include <charconv>

namespace {

// A line longer than this is no progress line; it is dropped rather than stored.
constexpr qsizetype kMaxLine = 4096;

} // namespace

FFProgressReader::Result FFProgressReader::feed(QByteArrayView bytes) {
    Result result;
    while (!bytes.isEmpty()) {
        const qsizetype end = bytes.indexOf('\n');
        if (end < 0) {
            if (partial_.size() + bytes.size() <= kMaxLine)
                partial_.append(bytes);
            else
                partial_ = "\x01"; // marks a line too long to keep; it is ignored at its end
            break;
        }
        if (partial_.isEmpty()) {
            line(bytes.first(end), result);
        } else {
            partial_.append(bytes.first(end));
            line(partial_, result);
            partial_.clear();
        }
        bytes = bytes.sliced(end + 1);
    }
    return result;
}

void FFProgressReader::line(QByteArrayView text, Result& result) {
    if (text.endsWith('\r'))
        text.chop(1);
    const qsizetype eq = text.indexOf('=');
    if (eq < 0)
        return;
    const QByteArrayView key = text.first(eq);
    const QByteArrayView value = text.sliced(eq + 1);
    if (key == "out_time_us") {
        int64_t us = 0;
        const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), us);
        // "N/A" and times before the output's start say nothing about how far it got
        if (ec == std::errc() && ptr == value.data() + value.size() && us >= 0)
            blockTime_ = us;
        else
            blockTime_.reset();
    } else if (key == "progress") {
        ++result.blocks;
        if (blockTime_)
            result.outTime = blockTime_;
        if (value == "end")
            result.ended = true;
        blockTime_.reset();
    }
}
