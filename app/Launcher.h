#pragma once

#include <functional>

#include "app/SearchRequest.h"

class CQuaerioApp;

// Runs the program for a start that opens the window: hands `request` to a
// program of this user that is already running and returns 0 once it took
// it; otherwise starts as usual, listens for later starts and carries out
// `request` as soon as the window is up. `connectApp`, when given, is called
// with the application object before it starts, so the caller can wire what
// it owns (such as download progress) to it. Needs the QApplication.
int RunQuaerio(const SSearchRequest &request, const std::function<void(CQuaerioApp &)> &connectApp = {});
