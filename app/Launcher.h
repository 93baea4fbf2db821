#pragma once

#include "app/SearchRequest.h"

// Runs the program for a start that opens the window: hands `request` to a
// program of this user that is already running and returns 0 once it took
// it; otherwise starts as usual, listens for later starts and carries out
// `request` as soon as the window is up. Needs the QApplication.
int RunQuaerio(const SSearchRequest &request);
