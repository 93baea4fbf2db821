#pragma once

#include <QString>

// Opening a web or "mailto:" address with the user's own programs, returning a
// code as the shell's open call does: greater than 32 on success, otherwise
// one of the shell's error codes. The opening itself is done by the installed
// platform services (platform/PlatformServices.h).

inline constexpr int SE_ERR_FNF = 2;
inline constexpr int SE_ERR_NOASSOC = 31;
inline constexpr int SHELL_OPEN_OK = 42;

int ShellExecuteOpen(const QString &target);
