#pragma once
// Reading and writing WAV files on libsndfile, and reversing one in time.

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

// Writes `output` as `input` with the samples of each channel in reverse order, as two
// channels: mono is doubled, more than two channels are mixed down to two. The file is
// streamed in blocks from its end, so memory does not grow with the sound's length.
// `percent` is called as the work advances (0..100). Returns false with `error` set on
// failure; a partial output is removed then.
struct AudioReverseResult {
    bool ok = false;
    QString error;
};
AudioReverseResult reverse_audio_file(const QString& input, const QString& output,
                                      const std::function<void(int)>& percent);

// The transform component of the progress dialog: runs the reversal and reports it.
class TAudioTransform2 : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    // Reverses `input` into `output`; OnTransformBlock carries the progress, and
    // OnEndTransform follows once the output is complete and closed. Returns false with
    // LastError set on failure (no end notice then).
    bool Reverse(const QString& input, const QString& output);
    QString LastError() const { return lastError_; }

  signals:
    void OnTransformBlock(int percent);
    void OnEndTransform();

  private:
    QString lastError_;
};
