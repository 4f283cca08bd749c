#pragma once
// A thread that samples, every ~20 ms, the resident memory of this process and of all its
// descendant processes, and the size of one folder, keeping the peaks.

#include <QString>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

struct SamplerPeaks {
    int64_t total = 0;    // largest (own + descendants) seen in one sample
    int64_t self = 0;     // largest own resident memory
    int64_t children = 0; // largest sum over the descendants
    int64_t folder = 0;   // largest folder size on disk
    int folderFiles = 0;  // files in the folder at that moment
    int samples = 0;
    int folderSamples = 0;
    double cpuSeconds = 0; // processor time of the sampler thread itself
};

class Sampler {
  public:
    static constexpr int kIntervalMs = 20;

    // `folder` empty: no folder sampling.
    explicit Sampler(QString folder = {});
    ~Sampler();
    Sampler(const Sampler&) = delete;
    Sampler& operator=(const Sampler&) = delete;

    // Stops the thread (after one last sample) and returns the peaks.
    SamplerPeaks stop();

  private:
    void run();
    void sampleOnce(bool withFolder);

    QString folder_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    SamplerPeaks peaks_;
    std::thread thread_;
};
