#pragma once
// The transcoding component: a list of tasks, each one run of the `ffmpeg` program with
// its inputs, option texts and output, started with an argument list (never a shell).
// Reports arrive as signals on the main thread.

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

class QEventLoop;

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
    // when an input cannot be opened or the output options cannot be used. Relative file
    // names are taken from the current folder. While tasks run (Running()) the list cannot be
    // changed: these calls fail and RemoveTask/ClearTasks do nothing.
    int AddTask(const QString& fileName, const TInputOptions& options);
    int AddInput(int task, const QString& fileName, const TInputOptions& options);
    int SetOutput(int task, const QString& fileName, const TOutputOptions& options);
    void RemoveTask(int task);
    void ClearTasks();
    int TaskCount() const;

    TThreadPriority ThreadPriority = TThreadPriority::tpNormal;
    // Starts up to `maxAtOnce` tasks and returns at once; the rest start as others end. No
    // report is delivered inside this call. Ignored while Running().
    void StartTask(int maxAtOnce);
    // Stops every task: tasks not yet started never start; running ones get "q", are
    // terminated 1.5 s later and killed 1.5 s after that. With wait, it returns when this
    // run's final report has been delivered (all reports are delivered meanwhile); called
    // from inside a report handler, it returns when the processes have ended and the
    // remaining reports follow after that handler.
    void StopTasks(bool wait);
    // From StartTask until the final report is delivered.
    bool Running() const;

    QString LastError() const { return lastError_; }

    // The full argument list a task runs with (for inspection and tests).
    QStringList TaskArguments(int task) const;
    // The output time the task is expected to reach, microseconds (the total of its progress
    // reports); 0 when unknown or when the task has no output yet.
    int64_t ExpectedDuration(int task) const;

  signals:
    // Delivered from the event loop one at a time (a handler that runs a modal loop gets no
    // other report before it returns). Progress moves only forward within 0..TotalDuration;
    // a task that finishes reports CurrentDuration = TotalDuration before its end.
    void OnProgress(const TProgressInfo& info);
    // Once per task of the run, then once with TaskIndex -1 (Finished, no Exception), last.
    // Finished: exit code 0 and not stopped. Exception: ended badly (exit code, crash, could
    // not start) and not stopped; ExceptionMsg is then ffmpeg's error output, trimmed, or the
    // reason when it wrote none. Stopped and never started tasks: neither flag.
    void OnTerminate(const TTerminateInfo& info);

  private:
    struct Task;
    struct Run;
    struct Report {
        bool progress = false;
        TProgressInfo progressInfo;
        TTerminateInfo terminateInfo;
    };
    std::vector<std::unique_ptr<Task>> tasks_;
    std::vector<std::unique_ptr<Run>> runs_;
    std::deque<Report> reports_;
    QString lastError_;
    int maxAtOnce_ = 1;
    int nextToStart_ = 0;
    bool stopping_ = false;
    bool active_ = false;     // from StartTask until the final report is delivered
    bool delivering_ = false; // a report handler is running
    bool deliveryQueued_ = false;
    bool reportsFinal_ = false; // the final report is posted and not yet delivered
    uint64_t finalsDelivered_ = 0;
    std::vector<QEventLoop*> stopWaits_; // StopTasks calls waiting for their batch to end
    int fail(const QString& error);      // sets LastError, returns -1
    bool validTask(int task) const;
    void startPending();
    void runFinished(Run* run);
    void post(const Report& report);
    void deliver();
    void wakeStopWaits();
};
