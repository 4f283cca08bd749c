#pragma once
// The program's renaming into reverse order (rename_into_reverse_order) on many small files
// in a scratch folder.

#include <QString>
#include <QVector>

struct RenameBenchResult {
    bool ok = false;
    QString error;
    int files = 0;
    QVector<double> seconds; // every run
};

RenameBenchResult run_rename_bench(int files, int rounds);
