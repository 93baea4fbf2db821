#pragma once

#include <QString>

#include <functional>

// Opening a web or "mailto:" address with the user's own programs, returning a
// code as the shell's open call does: greater than 32 on success, otherwise
// one of the shell's error codes. Tests install a hook that returns a code of
// their choice and records the target.

inline constexpr int SE_ERR_FNF = 2;
inline constexpr int SE_ERR_NOASSOC = 31;
inline constexpr int SHELL_OPEN_OK = 42;

using ShellOpenHook = std::function<int(const QString &target)>;

int ShellExecuteOpen(const QString &target);

// Replaces the real opener; an empty hook restores it. Returns the previous hook.
ShellOpenHook SetShellOpenHook(ShellOpenHook hook);
