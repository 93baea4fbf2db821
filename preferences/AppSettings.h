#pragma once

#include <QtGlobal>

// The four user preferences, held in memory and moved to and from section
// "Settings" of the per-user profile. One store per process, reached through
// GetAppSettings; every user reads and writes the fields directly.
class CAppSettings
{
public:
    CAppSettings() = default;
    virtual ~CAppSettings();
    Q_DISABLE_COPY_MOVE(CAppSettings)

    int m_bPreservedPos = 0;        // restore and save the frame placement
    int m_bPreservedKeywords = 1;   // keep the keyword history across runs
    int m_nKeywordsHisCount = 16;   // capacity of the keyword history
    int m_bShowLatestKeyword = 0;   // show the newest keyword at start-up
    int m_bChanged = 0;             // Save writes only while this is set

    // Reads the stored values; the count and show-latest flag only when the
    // stored "PreservedKeywords" is nonzero. Values are taken as stored.
    bool Load();

    // Writes all four values when m_bChanged is set, then clears it.
    void Save();
};

// Section and value names of the settings in the profile.
inline constexpr char16_t kSettingsSection[] = u"Settings";

// The one store of the process, created with its initial values on first call.
CAppSettings *GetAppSettings();

// Deletes the one store; the next GetAppSettings creates a new one.
void DestroyAppSettings();
