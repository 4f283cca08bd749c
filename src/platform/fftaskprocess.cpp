#include "platform/fftaskprocess.h"

#include <QTimer>
#include <algorithm>

namespace {

constexpr qsizetype kChunk = 4096;
constexpr qsizetype kMaxErrors = 64 * 1024;

} // namespace

FFTaskProcess::FFTaskProcess(int64_t expectedTotal, QObject* parent)
    : QObject(parent), chunk_(kChunk, Qt::Uninitialized),
      total_(std::max<int64_t>(0, expectedTotal)) {
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    connect(&process_, &QProcess::readyReadStandardOutput, this, &FFTaskProcess::readOutput);
    connect(&process_, &QProcess::readyReadStandardError, this, &FFTaskProcess::readErrors);
    connect(&process_, &QProcess::finished, this, &FFTaskProcess::onFinished);
    connect(&process_, &QProcess::errorOccurred, this, &FFTaskProcess::onError);
}

FFTaskProcess::~FFTaskProcess() {
    process_.disconnect(this);
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

void FFTaskProcess::start(const QString& program, const QStringList& arguments) {
    if (program.isEmpty()) {
        QTimer::singleShot(0, this, [this] {
            finish({false, stopStage_ == 0, "The ffmpeg program is not loaded"});
        });
        return;
    }
    process_.start(program, arguments, QIODevice::ReadWrite);
}

void FFTaskProcess::stop() {
    if (ended_ || stopStage_ > 0)
        return;
    stopStage_ = 1;
    if (process_.state() == QProcess::NotRunning)
        return; // its end is on the way
    process_.write("q\n");
    stopTimer_ = new QTimer(this);
    stopTimer_->setInterval(kGraceMs);
    connect(stopTimer_, &QTimer::timeout, this, &FFTaskProcess::escalate);
    stopTimer_->start();
}

void FFTaskProcess::escalate() {
    if (ended_)
        return;
    if (stopStage_ == 1) {
        stopStage_ = 2;
        process_.terminate();
    } else {
        stopStage_ = 3;
        stopTimer_->stop();
        process_.kill();
    }
}

void FFTaskProcess::readOutput() {
    int64_t latest = -1;
    for (;;) {
        const qint64 n = process_.read(chunk_.data(), chunk_.size());
        if (n <= 0)
            break;
        const FFProgressReader::Result r = reader_.feed(QByteArrayView(chunk_.constData(), n));
        if (r.outTime)
            latest = *r.outTime;
    }
    if (latest < 0)
        return;
    const int64_t current = std::clamp<int64_t>(latest, 0, total_);
    if (current > reported_) {
        reported_ = current;
        emit progressed(current, total_);
    }
}

void FFTaskProcess::readErrors() {
    errors_.append(process_.readAllStandardError());
    if (errors_.size() > kMaxErrors)
        errors_.remove(0, errors_.size() - kMaxErrors);
}

void FFTaskProcess::onFinished(int exitCode, QProcess::ExitStatus status) {
    readOutput();
    readErrors();
    Outcome outcome;
    const bool stopped = stopStage_ > 0;
    const bool clean = status == QProcess::NormalExit && exitCode == 0;
    outcome.finished = clean && !stopped;
    outcome.failed = !clean && !stopped;
    outcome.message = QString::fromLocal8Bit(errors_).trimmed();
    if (outcome.failed && outcome.message.isEmpty())
        outcome.message = status == QProcess::CrashExit
                              ? QString("ffmpeg crashed: %1").arg(process_.errorString())
                              : QString("ffmpeg exited with code %1").arg(exitCode);
    if (outcome.finished && reported_ < total_) {
        reported_ = total_;
        emit progressed(total_, total_);
    }
    finish(outcome);
}

void FFTaskProcess::onError(QProcess::ProcessError error) {
    // Every other error is followed by `finished`, or does not end the process.
    if (error != QProcess::FailedToStart)
        return;
    Outcome outcome;
    outcome.failed = stopStage_ == 0;
    outcome.message =
        QString("Cannot start %1: %2").arg(process_.program(), process_.errorString());
    finish(outcome);
}

void FFTaskProcess::finish(Outcome outcome) {
    if (ended_)
        return;
    ended_ = true;
    if (stopTimer_)
        stopTimer_->stop();
    emit ended(outcome);
}

// compiled here rather than in the library's shared moc unit
#include "moc_fftaskprocess.cpp"
