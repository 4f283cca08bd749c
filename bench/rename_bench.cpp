#include "rename_bench.h"

#include "job/frame_renaming.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool make_files(const QString& folder, int files) {
    QDir(folder).removeRecursively();
    if (!QDir().mkpath(folder))
        return false;
    const QByteArray base = QFile::encodeName(folder) + "/to";
    static const char content[] = "\xff\xd8 not a picture \xff\xd9";
    for (int k = 1; k <= files; ++k) {
        const QByteArray name = base + QByteArray::number(k) + ".jpg";
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        const bool written = ::write(fd, content, sizeof content) == ssize_t(sizeof content);
        ::close(fd);
        if (!written)
            return false;
    }
    return true;
}

// The first and the last image have traded places, and nothing is left under the old names.
bool reversed(const QString& folder, int files) {
    const QDir dir(folder);
    return dir.entryList({"to*.jpg"}, QDir::Files).isEmpty() &&
           dir.entryList({"from*.jpg"}, QDir::Files).size() == files && dir.exists("from1.jpg") &&
           dir.exists(QString("from%1.jpg").arg(files));
}

} // namespace

RenameBenchResult run_rename_bench(int files, int rounds) {
    RenameBenchResult r;
    r.files = files;
    const QString folder = QDir::tempPath() + "/tolvane-bench-rename";
    for (int i = 0; i < rounds; ++i) {
        if (!make_files(folder, files)) {
            r.error = "cannot make the files in " + folder;
            break;
        }
        ::sync();
        QElapsedTimer clock;
        clock.start();
        const RenameResult result = rename_into_reverse_order(folder, [](int, int) {});
        r.seconds << double(clock.nsecsElapsed()) / 1e9;
        if (result.renamed != files || !reversed(folder, files)) {
            r.error = QString("%1 of %2 files renamed").arg(result.renamed).arg(files);
            break;
        }
    }
    QDir(folder).removeRecursively();
    r.ok = r.error.isEmpty() && !r.seconds.isEmpty();
    return r;
}
