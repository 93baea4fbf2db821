#pragma once

#include <QString>

#include <functional>

class QObject;

// Opening a web or "mailto:" address with the user's own programs, with codes
// as the shell's open call gives them: greater than 32 on success, otherwise
// one of the shell's error codes.

inline constexpr int SE_ERR_FNF = 2;
inline constexpr int SE_ERR_NOASSOC = 31;
inline constexpr int SHELL_OPEN_OK = 42;
// The highest code that tells of a failure.
inline constexpr int SHELL_OPEN_LAST_ERROR = 32;

// Opens `target` with the desktop's opener (through the installed platform
// services); a web address the desktop cannot open goes to the user's
// registered web browser (platform/BrowserFallback.h), which may be asked
// for in the background. `done`, when given, then receives the code: success
// when either opened it, else the desktop's error. It runs on the
// user-interface thread, possibly before this returns, and never once
// `context` (not null) is gone.
void ShellExecuteOpen(const QString &target, QObject *context, std::function<void(int code)> done = {});
