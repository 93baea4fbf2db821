#pragma once

#include <QtGlobal>

// Clearing what the result pages keep (cookies, cache, site storage, visited
// links). The settings dialog and the main window offer the command without
// knowing the browser engine: the program installs the engine's clearing at
// start-up with CInstalled (platform/Installed.h), tests install their own.
// With none installed the command is unavailable.
class IBrowsingData
{
public:
    IBrowsingData() = default;
    virtual ~IBrowsingData();
    Q_DISABLE_COPY_MOVE(IBrowsingData)

    virtual void Clear() = 0;
};

bool HasBrowsingData();

// Asks for confirmation (Yes/No) and, on Yes, clears. True when cleared.
bool ClearBrowsingDataWithConfirmation();
