#pragma once

#include <functional>

// Clearing what the result pages keep (cookies, cache, site storage, visited
// links). The settings dialog and the main window offer the command without
// knowing the browser engine: the program installs the engine's clearing at
// start-up.
using ClearBrowsingDataHandler = std::function<void()>;

// Installs the clearing; an empty handler removes it. Returns the previous one.
ClearBrowsingDataHandler SetClearBrowsingDataHandler(ClearBrowsingDataHandler handler);
bool HasClearBrowsingDataHandler();

// Asks for confirmation (Yes/No) and, on Yes, clears. True when cleared.
bool ClearBrowsingDataWithConfirmation();
