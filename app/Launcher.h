#pragma once

#include <functional>

#include "app/SearchRequest.h"

class CQuaerioApp;
class CSingleInstance;

// Runs the program for a start that opens the window: hands `request` to a
// program of this user that is already running and returns 0 once it carried
// it out (1, with the reason on standard error, when it refused); otherwise
// starts as usual, listens for later starts if `instance` made this start
// the owner, and carries out `request` as soon as the window is up.
// `connectApp`, when given, is called with the application object before it
// starts, so the caller can wire what it owns (such as download progress) to
// it. Needs the QApplication. The caller keeps `instance`, and with it the
// ownership, until everything the window used is released.
int RunQuaerio(CSingleInstance &instance, const SSearchRequest &request,
               const std::function<void(CQuaerioApp &)> &connectApp = {});
