#pragma once

#include <QStringList>

class CCatalogFile;
class CResultBrowserMap;
class CTabCtrl;
class QComboBox;
class QTableWidget;

// Brings the catalogue into the search form. The languages fill the Language
// box, the categories of the current language the Category box, and each
// engine of the current category gets a row of the engine list, a tab and an
// active page of the pool holding its query template (with the charset,
// method and post data of its section): the engine index is at
// once the row, the tab and the page. It also keeps which language and
// category are current and their stored default.
//
// A catalogue value that is present but empty stops the step that read it
// with the message "Initial GUI control failed !"; what was loaded before
// stays as it was.
class CCatalogueLoader final
{
public:
    // The form's controls that show the catalogue.
    struct Controls
    {
        QComboBox *language = nullptr;
        QComboBox *category = nullptr;
        QTableWidget *engines = nullptr;
        CTabCtrl *tabs = nullptr;
    };

    CCatalogueLoader(const Controls &controls, CResultBrowserMap &browsers);
    ~CCatalogueLoader();
    Q_DISABLE_COPY_MOVE(CCatalogueLoader)

    // The current language and category become the stored default (0 each
    // when none is stored); "&Default" stores the current ones.
    void ReadDefault();
    void WriteDefault() const;

    // The engine list's look and its three columns: Name, Progress, QueryURL.
    void SetUpEngineList();

    // Reads the languages from the shared catalogue into the Language box and
    // selects the current one; false after the message when there are none.
    bool LoadLanguages();
    void LoadCategories();
    // Rebuilds list, tabs and pages for the current category; every page
    // active before is emptied and blanked first. True when every engine
    // loaded, and tab 0 is then selected.
    bool LoadEngines();

    // Reads languages and categories afresh, keeping the language and the
    // category shown by name, else by place, else the first; false after
    // the message when there are no languages. The engines follow with
    // LoadEngines.
    bool Reload();

    // The user chose the language or category at `index`. False when it is
    // the current one already: nothing needs loading. Another language
    // starts with its first category.
    bool ChooseLanguage(int index);
    bool ChooseCategory(int index);

    int CurrentLanguage() const;
    int CurrentCategory() const;
    // Their names; empty when there is none.
    QString LanguageName() const;
    QString CategoryName() const;
    // The engines' section names in the catalogue, by engine index.
    const QStringList &Engines() const;

private:
    bool AddEngine(int index, const QString &section);

    Controls m_ctl;
    CResultBrowserMap &m_browsers;
    CCatalogFile *m_pCatalog = nullptr;
    QStringList m_arrLanguages;
    QStringList m_arrCategories;
    QStringList m_arrEngines;
    int m_nCurLanguage = 0;
    int m_nCurCategory = 0;
};
