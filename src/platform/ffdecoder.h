#pragma once
// The source decoder: opens one file with libavformat, reports its streams, and decodes
// single video frames for the previews. One decoder and one conversion context stay open
// from one load to the next.

#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>

// Seek flags, FFmpeg's values.
constexpr int SEEK_FLAG_BACKWARD = 1;
constexpr int SEEK_FLAG_ANY = 4;

// Durations in microseconds; DURATION_UNKNOWN when the file does not tell.
constexpr int64_t DURATION_UNKNOWN = INT64_MIN;

struct TFileStreamInfo {
    int64_t Duration = DURATION_UNKNOWN; // container duration
    int32_t BitRate = 0;                 // whole file, bits per second; 0 when unknown
};

struct TVideoStreamInfo {
    int64_t Duration = -1; // first video stream, -1 when unknown
    int32_t Width = -1;
    int32_t Height = -1;
    int32_t BitRate = 0;      // bits per second; 0 when unknown
    int32_t FrameRateNum = 0; // average rate when both terms are non-zero, else the base rate
    int32_t FrameRateDen = 1;
};

struct TAudioStreamInfo {
    int32_t Channels = -1; // -1 when there is no audio stream
    int32_t SampleRate = 0;
};

class TFFDecoder {
  public:
    TFFDecoder();
    ~TFFDecoder();
    TFFDecoder(const TFFDecoder&) = delete;
    TFFDecoder& operator=(const TFFDecoder&) = delete;

    // Closes any open file first, whether or not the new one opens.
    bool OpenFile(const QString& path);
    void CloseFile();
    QString FileName() const;

    int VideoStreamCount() const; // 0 when no file is open
    int AudioStreamCount() const;
    int FirstVideoStream() const; // -1 when there is none
    int FirstAudioStream() const;

    // Defaults (see the structs) when nothing is open.
    TFileStreamInfo GetFileStreamInfo() const;
    TVideoStreamInfo GetVideoStreamInfo() const;
    TAudioStreamInfo GetAudioStreamInfo() const;
    // FFmpeg's own description of the open file (av_dump_format), one item per line;
    // empty when nothing is open.
    QString GetFileInfoText() const;

    bool Seek(int flags, int64_t positionUs);
    // Decodes the next complete picture of the given stream (the first video stream).
    bool DecodeVideoFrame(int stream);
    // Converts the last decoded picture into `bitmap`, which takes the picture's size.
    bool CopyFrameToBitmap(QImage& bitmap);
    // The same picture converted straight into `size` (for the previews).
    bool CopyFrameToBitmap(QImage& bitmap, QSize size);
    // Presentation time of the last decoded picture, microseconds from the stream's start;
    // 0 when the file gives the picture no time.
    int64_t FramePTS() const;

    QString LastError() const;

  private:
    struct State;
    std::unique_ptr<State> d;
};
