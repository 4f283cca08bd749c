#include "process_tree.h"

#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Reads a small /proc file whole; empty when it cannot be read.
std::string read_small(const char* path) {
    std::string text;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, size_t(n));
    }
    ::close(fd);
    return text;
}

void add_children(int pid, std::vector<int>& into) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/task", pid);
    DIR* tasks = ::opendir(path);
    if (!tasks)
        return;
    std::vector<int> found;
    while (const dirent* task = ::readdir(tasks)) {
        if (task->d_name[0] == '.')
            continue;
        char file[320];
        std::snprintf(file, sizeof file, "/proc/%d/task/%s/children", pid, task->d_name);
        const std::string text = read_small(file);
        const char* p = text.c_str();
        char* end = nullptr;
        for (long child = std::strtol(p, &end, 10); end != p; child = std::strtol(p, &end, 10)) {
            found.push_back(int(child));
            p = end;
        }
    }
    ::closedir(tasks);
    for (const int child : found) {
        into.push_back(child);
        add_children(child, into);
    }
}

} // namespace

int64_t resident_bytes(int pid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/statm", pid);
    const std::string text = read_small(path);
    long long size = 0, resident = 0;
    if (std::sscanf(text.c_str(), "%lld %lld", &size, &resident) != 2)
        return 0;
    return resident * int64_t(::sysconf(_SC_PAGESIZE));
}

std::vector<int> descendants(int pid) {
    std::vector<int> all;
    add_children(pid, all);
    return all;
}

TreeMemory tree_memory() {
    const int self = int(::getpid());
    TreeMemory m;
    m.self = resident_bytes(self);
    for (const int child : descendants(self))
        m.children += resident_bytes(child);
    return m;
}

FolderSize folder_size(const QString& folder) {
    FolderSize size;
    const QByteArray name = QFile::encodeName(folder);
    DIR* dir = ::opendir(name.constData());
    if (!dir)
        return size;
    const int fd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.' &&
            (entry->d_name[1] == 0 || (entry->d_name[1] == '.' && entry->d_name[2] == 0)))
            continue;
        struct stat st {};
        if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        size.bytes += int64_t(st.st_blocks) * 512;
        ++size.files;
    }
    ::closedir(dir);
    return size;
}
