#pragma once
// The transcoding component: a list of tasks, each one run of the `ffmpeg` program with
// its inputs, option texts and output, started with an argument list (never a shell).
// Reports arrive as signals on the main thread.

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

struct TInputOptions {
    QString FileName; // empty: the file name passed with the call
    QString Options;  // FFmpeg input options, e.g. " -ss 00:00:01.500"
};

struct TOutputOptions {
    QString FileName;
    QString Options; // FFmpeg output options, e.g. " -t 00:00:04.000 -y"
};

struct TProgressInfo {
    int TaskIndex = 0;
    int64_t CurrentDuration = 0; // current output time, microseconds
    int64_t TotalDuration = 0;   // expected total output time, microseconds
};

struct TTerminateInfo {
    int TaskIndex = -1; // -1 for the final report after all tasks
    bool Finished = false;
    bool Exception = false;
    QString ExceptionMsg;
};

enum class TThreadPriority { tpNormal };


class TFFEncoder : public QObject {
    Q_OBJECT
  public:
    explicit TFFEncoder(QObject* parent = nullptr);
    ~TFFEncoder() override;

    bool LibrariesLoaded() const;
    bool LoadLibraries(const QString& folder);

    void ResetInputOptions(TInputOptions& options) const;
    void ResetOutputOptions(TOutputOptions& options) const;

    // Each returns the task index (or 0) on success, a negative number with LastError set
    // when an input cannot be opened or the output options cannot be used.
    int AddTask(const QString& fileName, const TInputOptions& options);
    int AddInput(int task, const QString& fileName, const TInputOptions& options);
    int SetOutput(int task, const QString& fileName, const TOutputOptions& options);
    void RemoveTask(int task);
    void ClearTasks();
    int TaskCount() const;

    TThreadPriority ThreadPriority = TThreadPriority::tpNormal;
    // Starts up to `maxAtOnce` tasks and returns at once; the rest start as others end.
    void StartTask(int maxAtOnce);
    // Stops every task ("q", then terminate, then kill). With wait, returns when all have
    // ended, delivering reports meanwhile.
    void StopTasks(bool wait);
    bool Running() const;

    QString LastError() const { return lastError_; }

    // The full argument list a task runs with (for inspection and tests).
    QStringList TaskArguments(int task) const;

  signals:
    void OnProgress(const TProgressInfo& info);
    void OnTerminate(const TTerminateInfo& info);

  private:
    struct Task;
    struct Run;
    std::vector<std::unique_ptr<Task>> tasks_;
    std::vector<std::unique_ptr<Run>> runs_;
    QString lastError_;
    int maxAtOnce_ = 1;
    int nextToStart_ = 0;
    bool stopping_ = false;
    void startPending();
    void runFinished(Run* run);
};
