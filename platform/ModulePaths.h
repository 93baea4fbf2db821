#pragma once

#include <QString>

// Process-wide paths, set once by start-up and read afterwards.
extern QString g_szModulePath;    // full path of the running executable
extern QString g_szCatalogPath;   // Quaerio.CFG beside the executable
extern QString g_szFirstShowPath; // firstshow.mht beside the executable

// `path` with everything after its last path separator replaced by `fileName`;
// a path without a separator gives `fileName` alone.
QString ReplaceFileName(const QString &path, const QString &fileName);
