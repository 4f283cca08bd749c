#pragma once
// Readings of /proc and of the file system for the sampler: the resident memory of this
// process and of every process below it, and the space a folder takes on disk.

#include <QString>
#include <cstdint>
#include <vector>

struct TreeMemory {
    int64_t self = 0;     // this process's resident bytes
    int64_t children = 0; // the sum over every descendant process
};

// Resident bytes of one process (0 when it has gone).
int64_t resident_bytes(int pid);
// The processes below `pid`, children first, found through /proc/<pid>/task/*/children.
std::vector<int> descendants(int pid);
TreeMemory tree_memory();

// Bytes on disk (allocated blocks) of the files directly in `folder`, and how many there are.
struct FolderSize {
    int64_t bytes = 0;
    int files = 0;
};
FolderSize folder_size(const QString& folder);
