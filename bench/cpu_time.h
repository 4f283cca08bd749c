#pragma once
// Processor time used so far by this process and by its ended (waited-for) children, and
// the machine's load: wall times on a shared machine depend on what else runs, processor
// times much less.

#include <QString>
#include <sys/resource.h>

struct CpuTimes {
    double self = 0;     // user + system seconds of this process
    double children = 0; // of every child that has ended and been waited for
};

inline double seconds_of(const rusage& u) {
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

inline CpuTimes cpu_times() {
    rusage self{}, children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    return {seconds_of(self), seconds_of(children)};
}

// The first three fields of /proc/loadavg ("0.52 0.61 0.70").
QString load_average();
