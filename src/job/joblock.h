#pragma once
// One reverse job at a time uses the work folder, across all running copies of the
// program: a lock file beside the work folder, held for the whole job.

#include <QLockFile>
#include <memory>

class JobLock {
  public:
    JobLock();
    // False when another copy holds the lock.
    bool acquire();
    void release();

  private:
    std::unique_ptr<QLockFile> lock_;
};
