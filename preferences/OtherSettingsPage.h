#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;

// The "Other" page of the settings dialog: the keyword history (kept or not,
// its size from 1 to 16, whether start-up shows the latest keyword). Every
// accepted change is written into the settings store at once.
//
// The count is taken when its edit loses the focus: a value that is not a
// number from 1 to 16 is refused with a message, the focus goes back to the
// edit and nothing changes. The page is a plain child widget, so Enter and
// Esc reach the settings dialog.
class COtherSettingsPage final : public QWidget
{
    Q_OBJECT

public:
    explicit COtherSettingsPage(QWidget *parent = nullptr);
    ~COtherSettingsPage() override;
    Q_DISABLE_COPY_MOVE(COtherSettingsPage)

    // Builds the page from its template (IDD_SETTINGS_OTHER) as a hidden
    // child of `parentWnd`, sized as the template; false for another template
    // or when the page exists already.
    bool Create(int templateId, QWidget *parentWnd);

    // Checks "Preserve keywords" as `enable` says; when on, fills the count
    // and the show-latest box from the store. Enables or disables both.
    void EnableKeywordOptions(bool enable);

    // Takes a count typed but not yet taken (as when Enter closes the dialog
    // with the focus still in the edit). False when the edit holds a refused
    // value; the refusal was reported.
    bool CommitKeywordsCount();

    // Set by any click on the page's check boxes and by an accepted count
    // that differs from the store's; never cleared.
    bool IsModified() const;

    // The last count the edit held that passed the check.
    unsigned KeywordsCount() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void OnInitDialog();
    void OnKeywordsCountKillFocus();
    void OnPreserveKeywordsClicked();
    void OnShowLatestKeywordClicked();

    // Reads the edit into m_nKeywordsCount; false (after the message) when it
    // is not a whole number from 1 to 16.
    bool ExchangeKeywordsCount();
    void SetCountText(const QString &text);

    QCheckBox *m_chkPreserveKeywords = nullptr;
    QCheckBox *m_chkShowLatestKeyword = nullptr;
    QLineEdit *m_edtKeywordsCount = nullptr;
    unsigned m_nKeywordsCount = 16;
    bool m_bModified = false;

    bool m_bCountChecked = true;   // the edit's text has been through the check
    bool m_bCountAccepted = true;  // ... and passed it
    bool m_bValidating = false;    // a check (and maybe its message) is running
};
