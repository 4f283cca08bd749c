#pragma once
// A description of the machine the numbers were measured on.

#include <QString>

QString machine_description(); // one line: cores, CPU model, memory, system, ffmpeg
