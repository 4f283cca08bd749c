#pragma once
// Finding the FFmpeg program that runs the transcoding tasks. A folder "loads" when the
// `ffmpeg` in it runs `-version` and exits 0; the first folder that loads serves every
// encoder of the process.

#include <QString>

namespace fflibrary {
bool LibrariesLoaded();
bool LoadLibraries(const QString& folder);
// Full path of the loaded `ffmpeg`; empty before a folder has loaded.
QString ffmpegProgram();
QString LastError();
// Forgets the loaded folder (tests start each case from nothing).
void Unload();
} // namespace fflibrary
