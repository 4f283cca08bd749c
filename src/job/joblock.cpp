#include "job/joblock.h"

#include "common/helpers.h"

#include <QDir>

JobLock::JobLock() = default;

bool JobLock::acquire() {
    QDir().mkpath(program_folder());
    lock_ = std::make_unique<QLockFile>(program_folder() + "job.lock");
    // A lock left by a copy that died is taken over; a live holder keeps it.
    lock_->setStaleLockTime(0);
    return lock_->tryLock(0);
}

void JobLock::release() {
    if (lock_)
        lock_->unlock();
    lock_.reset();
}
