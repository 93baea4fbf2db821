#pragma once

#include <QtGlobal>

// Clearing what the result pages keep (cookies, cache, site storage, visited
// links). The settings dialog and the main window offer the command without
// knowing the browser engine: the program installs the engine's clearing at
// start-up, tests install their own.
class IBrowsingData
{
public:
    IBrowsingData() = default;
    virtual ~IBrowsingData();
    Q_DISABLE_COPY_MOVE(IBrowsingData)

    virtual void Clear() = 0;
};

// Makes `data` (not owned; it must outlive its installation) the one that
// clears, or removes it for null. Returns what was installed before.
IBrowsingData *InstallBrowsingData(IBrowsingData *data);
bool HasBrowsingData();

// Asks for confirmation (Yes/No) and, on Yes, clears. True when cleared.
bool ClearBrowsingDataWithConfirmation();
