#pragma once
// The work folder of a reverse job and the routines that test and empty it.

#include <QString>

class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;

// The controls of the progress dialog that clearing drives.
struct ProgressControls {
    QDialog* form = nullptr;
    QLabel* label = nullptr;
    QProgressBar* bar = nullptr;
    QPushButton* button = nullptr;
};

// program_folder() + "tmp", without a trailing separator.
QString work_folder();
// True when the folder holds nothing, also when it is missing or unreadable.
bool folder_is_empty(const QString& path);
// Deletes the folder's files (subfolders are emptied and kept), moving the bar one step per
// entry, then closes the dialog. Always true.
bool clear_folder(const QString& path, const ProgressControls& progress);
