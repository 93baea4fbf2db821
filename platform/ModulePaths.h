#pragma once

#include <QString>

// The catalogue's file name, beside the program and beside the settings.
inline constexpr char16_t kCatalogFileName[] = u"Quaerio.CFG";

// Process-wide paths, set once by start-up and read afterwards.
extern QString g_szModulePath;    // full path of the running executable
extern QString g_szCatalogPath;   // Quaerio.CFG beside the executable
extern QString g_szUserCatalogPath; // the user's catalogue: Quaerio.CFG beside the settings file
extern QString g_szFirstShowPath; // firstshow.mht beside the executable

// `path` with everything after its last path separator replaced by `fileName`;
// a path without a separator gives `fileName` alone.
QString ReplaceFileName(const QString &path, const QString &fileName);

// Quaerio.CFG in the folder of the user's settings file: the catalogue the
// program writes once the user changes the one shipped beside it.
QString UserCatalogPath();

// The catalogue in use: the user's once that file exists, else the one
// shipped beside the program.
QString CatalogPathInUse(const QString &shipped, const QString &user);
