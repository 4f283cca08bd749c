#pragma once
// Ends the declaring of a job stage after its own message has been shown; the stage's guard
// then reports "Process Error! Please try again!".

#include <stdexcept>

struct JobAbort : std::runtime_error {
    JobAbort() : std::runtime_error("aborted") {}
};
