#include "platform/ffencoder.h"

#include "platform/ffexpected.h"
#include "platform/ffinput.h"
#include "platform/fflibrary.h"
#include "platform/ffoptions.h"
#include "platform/ffoutput.h"
#include "platform/fftaskprocess.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <algorithm>

struct TFFEncoder::Task {
    struct Input {
        QString file; // as given to ffmpeg
        QStringList arguments;
        ffexpected::Input facts;
    };
    std::vector<Input> inputs;
    bool hasOutput = false;
    QString outputFile;
    QStringList outputArguments;
    ffexpected::Output plan;
};

struct TFFEncoder::Run {
    int task = 0;
    FFTaskProcess* process = nullptr; // child of the encoder, deleted later once ended
    FFTaskProcess::Outcome outcome;
};

namespace {

const QStringList kFixedArguments{"-hide_banner", "-nostats",  "-loglevel",
                                  "error",        "-progress", "pipe:1"};

} // namespace

TFFEncoder::TFFEncoder(QObject* parent) : QObject(parent) {}

TFFEncoder::~TFFEncoder() {
    for (const auto& run : runs_) {
        run->process->disconnect(this);
        delete run->process;
    }
}

bool TFFEncoder::LibrariesLoaded() const {
    return fflibrary::LibrariesLoaded();
}

bool TFFEncoder::LoadLibraries(const QString& folder) {
    if (fflibrary::LoadLibraries(folder))
        return true;
    lastError_ = fflibrary::LastError();
    return false;
}

void TFFEncoder::ResetInputOptions(TInputOptions& options) const {
    options = TInputOptions{};
}

void TFFEncoder::ResetOutputOptions(TOutputOptions& options) const {
    options = TOutputOptions{};
}

int TFFEncoder::fail(const QString& error) {
    lastError_ = error;
    return -1;
}

bool TFFEncoder::validTask(int task) const {
    return task >= 0 && task < static_cast<int>(tasks_.size());
}

int TFFEncoder::AddTask(const QString& fileName, const TInputOptions& options) {
    if (Running())
        return fail("Tasks cannot be added while tasks run");
    auto task = std::make_unique<Task>();
    tasks_.push_back(std::move(task));
    const int index = static_cast<int>(tasks_.size()) - 1;
    if (AddInput(index, fileName, options) < 0) {
        tasks_.pop_back();
        return -1;
    }
    return index;
}

int TFFEncoder::AddInput(int task, const QString& fileName, const TInputOptions& options) {
    if (Running())
        return fail("Inputs cannot be added while tasks run");
    if (!validTask(task))
        return fail(QString("There is no task %1").arg(task));
    Task::Input input;
    input.file = ffoptions::file_argument(options.FileName.isEmpty() ? fileName : options.FileName);
    input.arguments = ffoptions::split_text(options.Options);
    std::vector<ffoptions::Option> parsed;
    QString error;
    if (!ffoptions::parse(input.arguments, parsed, error) ||
        !ffinput::probe(input.file, parsed, input.facts, error))
        return fail(error);
    tasks_[task]->inputs.push_back(std::move(input));
    return static_cast<int>(tasks_[task]->inputs.size()) - 1;
}

int TFFEncoder::SetOutput(int task, const QString& fileName, const TOutputOptions& options) {
    if (Running())
        return fail("The output cannot be changed while tasks run");
    if (!validTask(task))
        return fail(QString("There is no task %1").arg(task));
    const QString file =
        ffoptions::file_argument(options.FileName.isEmpty() ? fileName : options.FileName);
    const QStringList arguments = ffoptions::split_text(options.Options);
    std::vector<ffoptions::Option> parsed;
    ffexpected::Output plan;
    QString error;
    if (file.isEmpty())
        return fail("No output file is given");
    if (!ffoptions::parse(arguments, parsed, error) || !ffoutput::plan(file, parsed, plan, error))
        return fail(error);
    Task& t = *tasks_[task];
    t.hasOutput = true;
    t.outputFile = file;
    t.outputArguments = arguments + ffoutput::own_arguments(file, parsed);
    t.plan = plan;
    return 0;
}

void TFFEncoder::RemoveTask(int task) {
    if (!Running() && validTask(task))
        tasks_.erase(tasks_.begin() + task);
}

void TFFEncoder::ClearTasks() {
    if (!Running())
        tasks_.clear();
}

int TFFEncoder::TaskCount() const {
    return static_cast<int>(tasks_.size());
}

QStringList TFFEncoder::TaskArguments(int task) const {
    if (!validTask(task))
        return {};
    const Task& t = *tasks_[task];
    QStringList args = kFixedArguments;
    for (const Task::Input& in : t.inputs)
        args << in.arguments << "-i" << in.file;
    if (t.hasOutput)
        args << t.outputArguments << t.outputFile;
    return args;
}

int64_t TFFEncoder::ExpectedDuration(int task) const {
    if (!validTask(task) || !tasks_[task]->hasOutput)
        return 0;
    const Task& t = *tasks_[task];
    std::vector<ffexpected::Input> inputs;
    for (const Task::Input& in : t.inputs)
        inputs.push_back(in.facts);
    return ffexpected::output_duration(inputs, t.plan);
}

void TFFEncoder::StartTask(int maxAtOnce) {
    if (active_)
        return;
    active_ = true;
    stopping_ = false;
    maxAtOnce_ = std::max(1, maxAtOnce);
    nextToStart_ = 0;
    // Started from the event loop, so that no report reaches a handler inside this call.
    QTimer::singleShot(0, this, &TFFEncoder::startPending);
}

void TFFEncoder::startPending() {
    if (!active_)
        return;
    const int count = TaskCount();
    while (!stopping_ && nextToStart_ < count && static_cast<int>(runs_.size()) < maxAtOnce_) {
        const int index = nextToStart_++;
        auto run = std::make_unique<Run>();
        run->task = index;
        run->process = new FFTaskProcess(ExpectedDuration(index), this);
        Run* r = run.get();
        connect(r->process, &FFTaskProcess::progressed, this,
                [this, index](int64_t current, int64_t total) {
                    Report report;
                    report.progress = true;
                    report.progressInfo = {index, current, total};
                    post(report);
                });
        connect(r->process, &FFTaskProcess::ended, this,
                [this, r](const FFTaskProcess::Outcome& outcome) {
                    r->outcome = outcome;
                    runFinished(r);
                });
        runs_.push_back(std::move(run));
        r->process->start(fflibrary::ffmpegProgram(), TaskArguments(index));
    }
    if (stopping_) {
        for (; nextToStart_ < count; ++nextToStart_) {
            Report report;
            report.terminateInfo = {nextToStart_, false, false, QString()};
            post(report);
        }
    }
    if (runs_.empty() && nextToStart_ >= count && !reportsFinal_) {
        reportsFinal_ = true;
        Report report;
        report.terminateInfo = {-1, true, false, QString()};
        post(report);
    }
}

void TFFEncoder::runFinished(Run* run) {
    Report report;
    report.terminateInfo = {run->task, run->outcome.finished, run->outcome.failed,
                            run->outcome.failed ? run->outcome.message : QString()};
    post(report);
    run->process->deleteLater();
    std::erase_if(runs_, [run](const std::unique_ptr<Run>& r) { return r.get() == run; });
    startPending();
    if (runs_.empty())
        wakeStopWaits();
}

void TFFEncoder::StopTasks(bool wait) {
    if (!active_)
        return;
    stopping_ = true;
    for (const auto& run : runs_)
        run->process->stop();
    QTimer::singleShot(0, this, &TFFEncoder::startPending);
    if (!wait)
        return;
    // Done when this batch's final report is delivered; from inside a report handler the
    // reports cannot be delivered before it returns, so there only the processes count.
    const uint64_t target = finalsDelivered_ + 1;
    QPointer<TFFEncoder> alive(this);
    while (alive && !(runs_.empty() && (delivering_ || finalsDelivered_ >= target))) {
        QEventLoop loop;
        stopWaits_.push_back(&loop);
        loop.exec();
        if (alive)
            std::erase(stopWaits_, &loop);
    }
}

void TFFEncoder::wakeStopWaits() {
    for (QEventLoop* loop : stopWaits_)
        loop->quit();
}

bool TFFEncoder::Running() const {
    return active_;
}

void TFFEncoder::post(const Report& report) {
    if (report.progress && !reports_.empty() && reports_.back().progress &&
        reports_.back().progressInfo.TaskIndex == report.progressInfo.TaskIndex)
        reports_.back() = report; // only the latest position of a task matters
    else
        reports_.push_back(report);
    if (!deliveryQueued_) {
        deliveryQueued_ = true;
        QMetaObject::invokeMethod(this, &TFFEncoder::deliver, Qt::QueuedConnection);
    }
}

void TFFEncoder::deliver() {
    deliveryQueued_ = false;
    // A handler that runs an event loop of its own gets no report until it returns.
    if (delivering_)
        return;
    delivering_ = true;
    QPointer<TFFEncoder> alive(this);
    while (!reports_.empty()) {
        const Report report = reports_.front();
        reports_.pop_front();
        if (report.progress) {
            emit OnProgress(report.progressInfo);
        } else {
            const bool final = report.terminateInfo.TaskIndex < 0;
            if (final) {
                active_ = false;
                reportsFinal_ = false;
                ++finalsDelivered_;
            }
            emit OnTerminate(report.terminateInfo);
            if (alive && final)
                wakeStopWaits();
        }
        if (!alive)
            return;
    }
    delivering_ = false;
}

// compiled here rather than in the library's shared moc unit
#include "moc_ffencoder.cpp"
