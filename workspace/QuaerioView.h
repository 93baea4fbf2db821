#pragma once

#include <QRect>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "browsers/ResultBrowserMap.h"
#include "platform/CommandRouter.h"
#include "workspace/FormPrinter.h"

class CAnimateCtrl;
class CCatalogFile;
class CHistoryComboBox;
class CResultBrowser;
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

    // The size of form template 101 in pixels.
    static QSize FormSize();

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
    bool IsSearching() const;
    bool IsAnimating() const;
    bool IsExtended() const;
    bool IsTimerActive() const;
    int CurrentLanguage() const;
    int CurrentCategory() const;
    QString Keywords() const;
    QString StatusText() const;
    CAnimateCtrl *AnimateCtrl() const;

signals:
    // Text for pane 0 of the main window's status bar.
    void StatusTextChanged(const QString &text);

protected:
    void resizeEvent(QResizeEvent *event) override;
    // Enter anywhere in the form that no control takes clicks "&Search".
    void keyPressEvent(QKeyEvent *event) override;

    CCommandTarget m_commands;

private:
    void CreateFormControls();
    void RegisterCommands();
    void ResizeParentToFit();
    QRect PageRect() const;
    // Hides the page shown so far and shows the selected tab's page (page 0
    // without a selection); false when there is no page to show.
    bool ShowSelectedPage();
    void ReturnFocusToKeywords();
    QRect ChildRect(const QWidget *child) const;
    void SetTextSize(int level);

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

    CCatalogFile *m_pCatalog = nullptr;
    QStringList m_arrLanguages;
    QStringList m_arrCategories;
    QStringList m_arrEngines;
    CResultBrowserMap m_browsers;
    CResultBrowser *m_pCurBrowser = nullptr;
    int m_bExtended = 0;
    int m_bSearching = 0;
    int m_bAnimating = 0;
    QRect m_rcClient;
    QRect m_rcMarker;
    QRect m_rcList;
    QRect m_rcTab;
    int m_nCurLanguage = 0;
    int m_nCurCategory = 0;
    QString m_strKeywords;

    CFormPrinter m_printer;
    QTimer m_timer;
    QString m_strStatusText;
    bool m_bLaidOut = false; // OnSize has recorded the list's and the tab's rectangles
};
