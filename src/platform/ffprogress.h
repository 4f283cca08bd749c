#pragma once
// Reading the key=value blocks that `ffmpeg -progress` writes, as the bytes arrive.

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <optional>

class FFProgressReader {
  public:
    struct Result {
        int blocks = 0;                 // blocks completed by these bytes
        std::optional<int64_t> outTime; // out_time_us of the last of them that knew it
        bool ended = false;             // a block said "progress=end"
    };

    // Takes the next bytes; a line cut between two calls is kept until its end arrives.
    Result feed(QByteArrayView bytes);

  private:
    void line(QByteArrayView line, Result& result);

    QByteArray partial_;
    std::optional<int64_t> blockTime_; // out_time_us of the block being read
};
