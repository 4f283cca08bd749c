#pragma once
// Ends the declaring of a job stage after its own message has been shown; the stage's guard
// then reports "Process Error! Please try again!".

#include "platform/dialogs.h"

#include <stdexcept>

// The job's own checks and declaring errors: caption "Error", the error icon.
inline void error_box(QWidget* owner, const QString& text) {
    DialogService::instance().message(owner, "Error", text, MessageIcon::Error);
}

struct JobAbort : std::runtime_error {
    JobAbort() : std::runtime_error("aborted") {}
};
