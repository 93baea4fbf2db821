#pragma once

#include <QComboBox>

#include <memory>

class CKeywordRecentList;

// An editable combo box whose drop-down lists the most recently used entries,
// newest first. Behind it stands a CKeywordRecentList kept in the per-user
// profile; the owner configures section, value-name format, capacity and the
// behaviour flags, and the box saves its list when it is destroyed.
class CHistoryComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit CHistoryComboBox(QWidget *parent = nullptr);
    ~CHistoryComboBox() override;
    Q_DISABLE_COPY_MOVE(CHistoryComboBox)

    // Profile section of the list; returns the stored name.
    QString SetSection(const QString &section);

    // Value-name format; ignored unless it contains "%d" (the slot number).
    void SetEntryFormat(const QString &format);

    // Capacity. -1 for n <= 0 (nothing changes) or when the list cannot be
    // (re-)created; otherwise the previous capacity, or 0 when no list existed.
    int SetMaxSize(int n);

    // Each returns the previous flag.
    bool SetAutoSave(bool on);
    bool SetAutoRefresh(bool on);

    // Puts `text` at the front of the history, creating the list when needed.
    bool AddToHistory(const QString &text);

    // Creates the list and reads it from the profile.
    bool LoadHistory();

    // Writes the list to the profile; false without a list or configuration.
    bool SaveHistory();

    // Rebuilds the drop-down from the list, keeping the typed text.
    void RefreshDropDown();

    // Section and format (with "%d") set and a capacity above 0.
    bool IsValid() const;

    // Creates the list, or re-creates it keeping its newest entries.
    bool CreateRecentList();

    // Entries are plain text rather than file paths; the owner sets it directly.
    bool m_bPlainEntries = false;

private:
    std::unique_ptr<CKeywordRecentList> m_pRecentList;
    QString m_strSection;
    QString m_strEntryFormat;
    int m_nMaxSize = 16;
    bool m_bSaveOnDestroy = true;
    bool m_bAutoSave = false;
    bool m_bAutoRefresh = false;
    bool m_bDirty = false;
    // The stored entries have been read into the list during this run.
    bool m_bLoaded = false;
};
