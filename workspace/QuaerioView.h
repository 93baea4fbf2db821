#pragma once

#include <QWidget>

#include <memory>

#include "browsers/ResultBrowserMap.h"
#include "platform/CommandRouter.h"
#include "workspace/FormPrinter.h"
#include "workspace/SearchRun.h"

class CAnimateCtrl;
class CCatalogueLoader;
class CEngineStates;
class CFormLayout;
class CHistoryComboBox;
class CKeyboardNavigation;
class CKeywordHistory;
class CResultBrowser;
class CResultTabs;
struct SFormControls;
class CTabCtrl;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// The search form: the program's only view, filling the main frame's client
// area. Its upper band holds the search controls at fixed positions (form
// template 101, laid out in dialog units); below them lie the optional engine
// list, the row of engine tabs and, under the tabs, the result page of the
// selected engine. All of it runs on the user-interface thread.
//
// The view holds the controls and the handlers; the work behind the
// handlers lives beside it: CFormTemplate makes the controls, CFormLayout
// lays them out, CCatalogueLoader brings the catalogue into the form,
// CKeywordHistory ties the keyword box's history to the settings,
// CSearchRun runs a search and watches its progress, CEngineStates keeps
// which engines are chosen and how each page loads, CResultTabs shows the
// selected tab's page and carries the page commands, CKeyboardNavigation
// holds the keyboard's commands (tabs, panes, find in page), and
// CFormPrinter keeps the printer of the run.
class CQuaerioView : public QWidget
{
    Q_OBJECT

public:
    explicit CQuaerioView(QWidget *parent = nullptr);
    ~CQuaerioView() override;
    Q_DISABLE_COPY_MOVE(CQuaerioView)

    // Runs at the first document and again at every New Search.
    virtual void OnInitialUpdate();

    // The view's commands, asked by the frame's router after the frame's own.
    const CCommandTarget &CommandTarget() const;

    // Used by the frame when it closes: stop timer 1 and the busy animation.
    void KillTimer(int id);
    void CloseAnimation();

    // Layout.
    void OnSize(int cx, int cy);
    void OnToggleExtended();
    void ApplyExtendedLayout();
    // Pane 0 of the main window's status bar.
    void SetStatusText(const QString &text);

    // Catalogue into the form.
    void LoadCategories();
    void LoadEngines();
    void OnLanguageChanged();
    void OnCategoryChanged();
    void OnSetDefault();
    // The catalogue has changed: a running search stops, and languages,
    // categories, engines and tabs are read afresh, as at a change of
    // category; the language and category shown stay when they still exist.
    void ReloadCatalogue();

    // Search, stop, progress, tabs.
    void OnSearch();
    void OnStop();
    void UpdateControlStates();
    void OnTimer(int id);
    void OnTabChanged();

    // Commands on the page shown and on the keyword box.
    void OnGoBack();
    void OnGoForward();
    void OnStopPage();
    void OnRefresh();
    void OnFontLargest();
    void OnFontLarger();
    void OnFontMedium();
    void OnFontSmaller();
    void OnFontSmallest();
    void OnInputNewKeyword();
    void OnUpdateNavigate(CCmdUI &cmdUI);
    void OnUpdateStopPage(CCmdUI &cmdUI);
    void OnUpdateInputNewKeyword(CCmdUI &cmdUI);
    void OnFileSave();
    void OnFilePrint();
    void OnFilePrintPreview();
    // The run's printer, which Print Setup changes.
    CFormPrinter &Printer();

    // State, as callers and tests read it.
    CResultBrowserMap &Browsers();
    CResultBrowser *CurrentBrowser() const;
    // The language and the category shown; empty when there is none.
    QString LanguageName() const;
    QString CategoryName() const;
    // The search running or last run, and its progress monitor (timer 1).
    const CSearchRun &SearchRun() const;
    QString StatusText() const;
    CAnimateCtrl *AnimateCtrl() const;

signals:
    // Text for pane 0 of the main window's status bar.
    void StatusTextChanged(const QString &text);
    // Whether a command is enabled may have changed: a search started or
    // ended, the tab changed, or the pages' busy state was polled.
    void CommandStateChanged();
    // The user asked for the menu of the page shown, at `globalPos`.
    void TabMenuRequested(const QPoint &globalPos);

protected:
    void resizeEvent(QResizeEvent *event) override;
    // Enter anywhere in the form that no control takes clicks "&Search".
    void keyPressEvent(QKeyEvent *event) override;

    CCommandTarget m_commands;

private:
    void CreateFormControls(const SFormControls &controls);
    void RegisterCommands();
    void ResizeParentToFit();
    void ReturnFocusToKeywords();

    CAnimateCtrl *m_ctlAnimate = nullptr;
    QComboBox *m_cboLanguage = nullptr;
    QComboBox *m_cboCategory = nullptr;
    CHistoryComboBox *m_cboKeywords = nullptr;
    QPushButton *m_btnDefault = nullptr;
    QLabel *m_stcMarker = nullptr;
    QPushButton *m_btnSearch = nullptr;
    QPushButton *m_btnStop = nullptr;
    QPushButton *m_btnExtend = nullptr;
    QTableWidget *m_lstEngines = nullptr;
    CTabCtrl *m_tabEngines = nullptr;

    CResultBrowserMap m_browsers;

    CSearchRun m_search;
    std::unique_ptr<CCatalogueLoader> m_catalogue;
    CEngineStates *m_engines = nullptr;
    std::unique_ptr<CResultTabs> m_tabs;
    std::unique_ptr<CFormLayout> m_layout;
    std::unique_ptr<CKeywordHistory> m_history;
    std::unique_ptr<CKeyboardNavigation> m_keys;
    CFormPrinter m_printer;
    QString m_strStatusText;
};
