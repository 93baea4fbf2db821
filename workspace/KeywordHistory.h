#pragma once

#include <QString>
#include <QtGlobal>

class CHistoryComboBox;

// Ties the keyword box's history to the user's settings. The history is
// kept in section "KeywordsHistory" of the profile as plain text entries,
// compared without regard to the case of A to Z, and each addition
// rebuilds the drop-down and is written at once. Whether it is kept at all,
// its capacity and whether the newest keyword shows at start-up are the
// settings in force.
class CKeywordHistory final
{
public:
    explicit CKeywordHistory(CHistoryComboBox *box);
    ~CKeywordHistory();
    Q_DISABLE_COPY_MOVE(CKeywordHistory)

    // Limits the box to 260 characters and configures its history; when
    // the history is kept, reads it into the drop-down and, with
    // show-latest, puts the newest keyword (cut to the limit) in the box.
    void SetUp();

    // After a search: reads the settings afresh, so a change made in the
    // settings dialog applies from this search on, and when the history is
    // kept puts `keywords` at its front.
    void Record(const QString &keywords);

private:
    CHistoryComboBox *m_cboKeywords;
};
