#pragma once
// Puts the extracted images into reverse order by renaming alone: of N images
// "to1.jpg" .. "toN.jpg", image k becomes "from(N - k + 1).jpg".

#include <QString>
#include <functional>

struct RenameResult {
    bool folderFound = false;
    int count = 0;   // images found
    int renamed = 0; // renames that succeeded
};

// `progress(done, count)` runs after every rename.
RenameResult rename_into_reverse_order(const QString& folder,
                                       const std::function<void(int, int)>& progress);
