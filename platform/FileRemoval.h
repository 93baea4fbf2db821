#pragma once

#include <QString>

// Removes `path` and, when it is a folder, everything in it, without ever
// following a symbolic link: a link is removed itself and what it points to
// is left as it is, so the removal stays inside the folder named. The folders
// leading to `path` are taken as given. True when nothing is left at `path`
// (also when nothing was there).
bool RemoveWithoutFollowingLinks(const QString &path);
