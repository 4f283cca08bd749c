#include "sampler.h"

#include "process_tree.h"

#include <algorithm>
#include <chrono>
#include <ctime>

namespace {

using Clock = std::chrono::steady_clock;

// Listing a folder of thousands of images costs far more than reading /proc (about 9 ms for
// 5 400 files against 75 us), so the folder is read at most so often that its reading
// takes about 0.5 % of one core. The folder only grows until the clean-up, and stays at its
// peak through the whole assembly, so the peak is not missed.
constexpr int kFolderCostFactor = 200;

} // namespace

Sampler::Sampler(QString folder) : folder_(std::move(folder)), thread_([this] { run(); }) {}

Sampler::~Sampler() {
    if (thread_.joinable())
        stop();
}

SamplerPeaks Sampler::stop() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    std::lock_guard lock(mutex_);
    return peaks_;
}

void Sampler::sampleOnce(bool withFolder) {
    const TreeMemory m = tree_memory();
    FolderSize f;
    if (withFolder)
        f = folder_size(folder_);
    std::lock_guard lock(mutex_);
    peaks_.total = std::max(peaks_.total, m.self + m.children);
    peaks_.self = std::max(peaks_.self, m.self);
    peaks_.children = std::max(peaks_.children, m.children);
    ++peaks_.samples;
    if (withFolder) {
        ++peaks_.folderSamples;
        if (f.bytes > peaks_.folder) {
            peaks_.folder = f.bytes;
            peaks_.folderFiles = f.files;
        }
    }
}

void Sampler::run() {
    const auto interval = std::chrono::milliseconds(kIntervalMs);
    Clock::time_point nextFolder = Clock::now();
    Clock::time_point next = Clock::now();
    while (!stop_) {
        const Clock::time_point start = Clock::now();
        const bool withFolder = !folder_.isEmpty() && start >= nextFolder;
        sampleOnce(withFolder);
        if (withFolder) {
            const auto cost = Clock::now() - start;
            nextFolder = start + std::max<Clock::duration>(interval, cost * kFolderCostFactor);
        }
        next += interval;
        const Clock::time_point now = Clock::now();
        if (next < now)
            next = now;
        std::this_thread::sleep_until(next);
    }
    sampleOnce(!folder_.isEmpty());
    timespec cpu{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    std::lock_guard lock(mutex_);
    peaks_.cpuSeconds = double(cpu.tv_sec) + double(cpu.tv_nsec) / 1e9;
}
