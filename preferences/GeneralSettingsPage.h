#pragma once

#include <QWidget>

class QCheckBox;

// The "General" page of the settings dialog: whether the main window's size
// and position are kept. A change is written into the settings store at once.
//
// The page is a plain child widget, so Enter and Esc reach the settings
// dialog: the page itself never closes.
class CGeneralSettingsPage final : public QWidget
{
    Q_OBJECT

public:
    explicit CGeneralSettingsPage(QWidget *parent = nullptr);
    ~CGeneralSettingsPage() override;
    Q_DISABLE_COPY_MOVE(CGeneralSettingsPage)

    // Builds the page from its template (IDD_SETTINGS_GENERAL) as a hidden
    // child of `parentWnd`, sized as the template; false for another template
    // or when the page exists already.
    bool Create(int templateId, QWidget *parentWnd);

    // Set by any click on the page's check box; never cleared.
    bool IsModified() const;

private:
    void OnInitDialog();
    void OnPreservePosClicked();

    QCheckBox *m_chkPreservePos = nullptr;
    bool m_bModified = false;
};
