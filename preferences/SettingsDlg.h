#pragma once

#include <QDialog>

#include "preferences/GeneralSettingsPage.h"
#include "preferences/OtherSettingsPage.h"

class QItemSelection;
class QLabel;
class QTreeWidget;

// The settings dialog: a tree of page names on the left and the chosen page
// on the right, over a hidden placeholder that gives the page area. Both
// pages are created once, at opening; the page not chosen is shrunk to zero
// size (and taken out of the keyboard's reach) rather than hidden.
//
// Opening loads the settings store; the pages write every change into the
// store at once. OK and Apply write the store to the profile when a page was
// changed; Cancel writes nothing but leaves the changed values in the store
// until its next Load. Build one per opening: `CSettingsDlg dlg; dlg.exec();`.
class CSettingsDlg final : public QDialog
{
    Q_OBJECT

public:
    explicit CSettingsDlg(QWidget *parent = nullptr);
    ~CSettingsDlg() override;
    Q_DISABLE_COPY_MOVE(CSettingsDlg)

    // Shows the page of template IDD_SETTINGS_GENERAL or IDD_SETTINGS_OTHER;
    // other ids do nothing.
    void ShowPage(int pageId);

    QTreeWidget *PageTree() const;
    QWidget *PageArea() const;
    CGeneralSettingsPage *GeneralPage();
    COtherSettingsPage *OtherPage();

public slots:
    // OK: commit the store when a page was changed, then close.
    void accept() override;

private:
    void OnInitDialog();
    void OnApply();
    void OnSelChangedPageTree(const QItemSelection &selected);

    // Writes the store when a page was changed; false when the count edit
    // holds a value that was refused, so the dialog stays as it is.
    bool CommitSettings();

    QTreeWidget *m_treePages = nullptr;
    QLabel *m_wndPageArea = nullptr;
    CGeneralSettingsPage m_pageGeneral;
    COtherSettingsPage m_pageOther;
};

