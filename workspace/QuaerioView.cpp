#include "workspace/QuaerioView.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTableWidget>

#include "browsers/ResultBrowser.h"
#include "platform/DialogUnits.h"
#include "platform/MessageBox.h"
#include "platform/ModulePaths.h"
#include "platform/WaitCursor.h"
#include "res/ResourceIds.h"
#include "workspace/AnimateCtrl.h"
#include "workspace/CatalogueLoader.h"
#include "workspace/EngineStates.h"
#include "workspace/FormLayout.h"
#include "workspace/FormTemplate.h"
#include "workspace/HistoryComboBox.h"
#include "workspace/KeyboardNavigation.h"
#include "workspace/KeywordHistory.h"
#include "workspace/ResultTabs.h"
#include "workspace/TabCtrl.h"

namespace
{
constexpr int kStatusTimerId = 1;

// The animation control sits in the form's top right corner.
constexpr int kAnimateOffset = 22;
constexpr int kAnimateSize = 25;

const QString kBlankPage = QStringLiteral("about:blank");
} // namespace

CQuaerioView::CQuaerioView(QWidget *parent)
    : QWidget(parent)
    , m_search(m_browsers)
{
    setObjectName(QString::number(IDD_QUAERIO_FORM));
    setFont(DialogFont());
    const SFormControls controls = CFormTemplate::Create(this);
    CreateFormControls(controls);
    m_catalogue = std::make_unique<CCatalogueLoader>(
        CCatalogueLoader::Controls{m_cboLanguage, m_cboCategory, m_lstEngines, m_tabEngines}, m_browsers);
    m_engines = new CEngineStates(m_lstEngines, m_tabEngines, m_browsers, this);
    connect(m_engines, &CEngineStates::PageSettled, &m_search, &CSearchRun::CheckSoon);
    // Stop, Back, Forward and Refresh follow a page's loads at once, not at
    // the monitor's next look.
    connect(m_engines, &CEngineStates::PageStarted, this, &CQuaerioView::CommandStateChanged);
    connect(m_engines, &CEngineStates::PageSettled, this, &CQuaerioView::CommandStateChanged);
    m_tabs = std::make_unique<CResultTabs>(this, m_tabEngines, m_browsers);
    m_layout = std::make_unique<CFormLayout>(this, controls, *m_tabs);
    m_keys = std::make_unique<CKeyboardNavigation>(this, controls, *m_tabs);
    m_history = std::make_unique<CKeywordHistory>(m_cboKeywords);
    RegisterCommands();
    connect(&m_search, &CSearchRun::ProgressChecked, this, &CQuaerioView::CommandStateChanged);
    connect(&m_search, &CSearchRun::Idle, this, [this] {
        UpdateControlStates();
        SetStatusText(QStringLiteral("Complete"));
    });
}

CQuaerioView::~CQuaerioView()
{
    // The pool stops its busy pages on its way out; the window around the
    // view, going too, must not hear of it.
    blockSignals(true);
    m_search.StopMonitor();
    m_layout->WriteExtended();
    // The pool (a member) is destroyed next and takes every page with it;
    // the form's controls follow with the widget.
}

void CQuaerioView::CreateFormControls(const SFormControls &ctl)
{
    m_cboLanguage = ctl.language;
    m_cboCategory = ctl.category;
    m_cboKeywords = ctl.keywords;
    m_btnDefault = ctl.defaultButton;
    m_stcMarker = ctl.marker;
    m_btnSearch = ctl.search;
    m_btnStop = ctl.stop;
    m_btnExtend = ctl.extend;
    m_lstEngines = ctl.engines;
    m_tabEngines = ctl.tabs;

    // Control notifications: only the user's own choices count, not the
    // changes the view makes itself.
    connect(m_cboLanguage, &QComboBox::activated, this, [this] { OnLanguageChanged(); });
    connect(m_cboCategory, &QComboBox::activated, this, [this] { OnCategoryChanged(); });
    connect(m_btnSearch, &QPushButton::clicked, this, [this] { OnSearch(); });
    connect(m_btnStop, &QPushButton::clicked, this, [this] { OnStop(); });
    connect(m_btnExtend, &QPushButton::clicked, this, [this] { OnToggleExtended(); });
    connect(m_btnDefault, &QPushButton::clicked, this, [this] { OnSetDefault(); });
    connect(m_tabEngines, &CTabCtrl::SelChange, this, [this] { OnTabChanged(); });
    connect(m_tabEngines, &CTabCtrl::MenuRequested, this, &CQuaerioView::TabMenuRequested);
}

void CQuaerioView::RegisterCommands()
{
    m_commands.OnCommand(ID_GO_BACK, this, [this] { OnGoBack(); });
    m_commands.OnCommand(ID_GO_FORWARD, this, [this] { OnGoForward(); });
    m_commands.OnCommand(ID_VIEW_STOP, this, [this] { OnStopPage(); });
    m_commands.OnCommand(ID_VIEW_REFRESH, this, [this] { OnRefresh(); });
    m_commands.OnCommand(ID_FONT_LARGEST, this, [this] { OnFontLargest(); });
    m_commands.OnCommand(ID_FONT_LARGER, this, [this] { OnFontLarger(); });
    m_commands.OnCommand(ID_FONT_MEDIUM, this, [this] { OnFontMedium(); });
    m_commands.OnCommand(ID_FONT_SMALLER, this, [this] { OnFontSmaller(); });
    m_commands.OnCommand(ID_FONT_SMALLEST, this, [this] { OnFontSmallest(); });
    m_commands.OnCommand(ID_INPUT_NEW_KEYWORD, this, [this] { OnInputNewKeyword(); });
    m_commands.OnCommand(ID_FILE_SAVE, this, [this] { OnFileSave(); });
    m_commands.OnCommand(ID_FILE_PRINT, this, [this] { OnFilePrint(); });
    m_commands.OnCommand(ID_FILE_PRINT_PREVIEW, this, [this] { OnFilePrintPreview(); });
    m_keys->RegisterCommands(m_commands);

    for (const int id : {ID_GO_BACK, ID_GO_FORWARD, ID_VIEW_REFRESH})
        m_commands.OnUpdate(id, this, [this](CCmdUI &cmdUI) { OnUpdateNavigate(cmdUI); });
    m_commands.OnUpdate(ID_VIEW_STOP, this, [this](CCmdUI &cmdUI) { OnUpdateStopPage(cmdUI); });
    m_commands.OnUpdate(ID_INPUT_NEW_KEYWORD, this, [this](CCmdUI &cmdUI) { OnUpdateInputNewKeyword(cmdUI); });
}

const CCommandTarget &CQuaerioView::CommandTarget() const
{
    return m_commands;
}

// ---------------------------------------------------------------------------
// Initial update

void CQuaerioView::OnInitialUpdate()
{
    // The controls exist since construction. The frame shrinks until the
    // view is no larger than the form.
    ResizeParentToFit();

    m_browsers.SetParentWnd(this);
    // Made once per view; every initial update opens the clip afresh.
    m_ctlAnimate = m_search.OpenAnimateCtrl(this, QRect(width() - kAnimateOffset, 0, kAnimateSize, kAnimateSize));

    // The stored choices of language, category and layout.
    m_catalogue->ReadDefault();
    m_layout->ReadExtended();

    // Without languages the form stays empty: no engines, no timer.
    if (!m_catalogue->LoadLanguages())
        return;
    LoadCategories();

    m_history->SetUp();
    m_cboKeywords->setFocus();

    m_layout->UpdateExtendButton();
    m_catalogue->SetUpEngineList();

    LoadEngines();
    ApplyExtendedLayout();
    // Page 0 opens the first-show page; the progress monitor starts.
    m_tabs->SetCurrent(m_browsers.GetBrowser(0));
    if (CResultBrowser *first = m_tabs->Current())
        first->NavigateTo(g_szFirstShowPath);
    m_search.StartMonitor();
}

void CQuaerioView::ResizeParentToFit()
{
    // A hidden window gets its resize event only when shown; lay the form out
    // now so that the layout starts from the controls' real rectangles.
    if (CFormTemplate::ShrinkFrameToFit(this) || !m_layout->IsLaidOut())
        OnSize(width(), height());
}

// ---------------------------------------------------------------------------
// Language, category and engines

void CQuaerioView::LoadCategories()
{
    m_catalogue->LoadCategories();
}

void CQuaerioView::LoadEngines()
{
    // The highlighted tab names the page on top, so Back, Refresh and the
    // text sizes act on the engine the user sees selected.
    if (m_engines->Reload(*m_catalogue))
        m_tabs->ShowSelected();
}

void CQuaerioView::OnLanguageChanged()
{
    if (!m_catalogue->ChooseLanguage(m_cboLanguage->currentIndex()))
        return;
    LoadCategories();
    LoadEngines();
}

void CQuaerioView::OnCategoryChanged()
{
    if (m_catalogue->ChooseCategory(m_cboCategory->currentIndex()))
        LoadEngines();
}

void CQuaerioView::ReloadCatalogue()
{
    if (m_search.IsSearching())
        OnStop();
    if (m_catalogue->Reload())
        LoadEngines();
}

void CQuaerioView::OnSetDefault()
{
    m_catalogue->WriteDefault();
}

// ---------------------------------------------------------------------------
// Layout

void CQuaerioView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    OnSize(event->size().width(), event->size().height());
}

void CQuaerioView::OnSize(int cx, int cy)
{
    if (m_ctlAnimate)
        m_ctlAnimate->setGeometry(cx - kAnimateOffset, 0, kAnimateSize, kAnimateSize);
    m_layout->Stretch(cx);
    SetStatusText(QStringLiteral("width = %1 , height = %2").arg(cx).arg(cy));
    // Only the page shown follows at once; the others when they are shown.
    m_tabs->ResizeCurrent();
}

void CQuaerioView::OnToggleExtended()
{
    m_layout->Toggle();
}

void CQuaerioView::ApplyExtendedLayout()
{
    m_layout->Apply();
}

void CQuaerioView::SetStatusText(const QString &text)
{
    m_strStatusText = text;
    emit StatusTextChanged(text);
}

// ---------------------------------------------------------------------------
// Search, stop, progress and tabs

void CQuaerioView::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
        if (m_btnSearch->isEnabled())
            m_btnSearch->click();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CQuaerioView::OnSearch()
{
    const QString keywords = m_cboKeywords->currentText().trimmed();
    if (keywords.isEmpty()) {
        AfxMessageBox(QStringLiteral("Please input keywords !"));
        return;
    }
    if (!m_engines->ConfirmAnyChosen())
        return;

    CWaitCursor wait;
    // The selected tab's page goes on top of the pages just blanked.
    m_tabs->SetCurrent(m_browsers.GetBrowser(m_tabEngines->GetCurSel()));
    m_search.Start(keywords, m_engines->NotAsked());
    m_engines->BeginSearch();
    SetStatusText(QStringLiteral("Searching ") + keywords);
    UpdateControlStates();
    m_tabs->RaiseCurrent();
    m_history->Record(keywords);
    ReturnFocusToKeywords();
}

void CQuaerioView::OnStop()
{
    m_search.Stop();
    m_engines->MarkStopped();
    UpdateControlStates();
    ReturnFocusToKeywords();
}

void CQuaerioView::ReturnFocusToKeywords()
{
    // The button just pressed is disabled now and would pass the focus on to
    // the tab row; the user rather refines the keywords and searches again.
    m_cboKeywords->setFocus(Qt::OtherFocusReason);
}

void CQuaerioView::UpdateControlStates()
{
    const bool idle = !m_search.IsSearching();
    m_cboLanguage->setEnabled(idle);
    m_cboCategory->setEnabled(idle);
    m_btnSearch->setEnabled(idle);
    m_lstEngines->setEnabled(idle);
    m_btnStop->setEnabled(!idle);
    emit CommandStateChanged();
}

void CQuaerioView::OnTimer(int)
{
    m_search.CheckProgress();
}

void CQuaerioView::OnTabChanged()
{
    emit CommandStateChanged();
    if (!m_tabs->ShowSelected())
        return;
    const QString location = m_tabs->Current()->GetLocationURL();
    if (location != kBlankPage)
        SetStatusText(location);
}

void CQuaerioView::KillTimer(int id)
{
    if (id == kStatusTimerId)
        m_search.StopMonitor();
}

void CQuaerioView::CloseAnimation()
{
    if (m_ctlAnimate)
        m_ctlAnimate->Close();
}

// ---------------------------------------------------------------------------
// Commands

void CQuaerioView::OnGoBack()
{
    m_tabs->GoBack();
}

void CQuaerioView::OnGoForward()
{
    m_tabs->GoForward();
}

void CQuaerioView::OnStopPage()
{
    m_tabs->StopPage();
}

void CQuaerioView::OnRefresh()
{
    m_tabs->Refresh();
}

void CQuaerioView::OnFontLargest()
{
    m_tabs->SetTextSize(4);
}

void CQuaerioView::OnFontLarger()
{
    m_tabs->SetTextSize(3);
}

void CQuaerioView::OnFontMedium()
{
    m_tabs->SetTextSize(2);
}

void CQuaerioView::OnFontSmaller()
{
    m_tabs->SetTextSize(1);
}

void CQuaerioView::OnFontSmallest()
{
    m_tabs->SetTextSize(0);
}

void CQuaerioView::OnInputNewKeyword()
{
    m_cboKeywords->setEditText(QStringLiteral("Please input new keywords ..."));
    m_cboKeywords->lineEdit()->deselect();
    m_cboKeywords->setFocus(Qt::OtherFocusReason);
}

void CQuaerioView::OnUpdateNavigate(CCmdUI &)
{
    // Always available: the state stays as the router set it for a handler.
}

void CQuaerioView::OnUpdateStopPage(CCmdUI &cmdUI)
{
    cmdUI.Enable(m_tabs->IsCurrentBusy());
}

void CQuaerioView::OnUpdateInputNewKeyword(CCmdUI &cmdUI)
{
    cmdUI.Enable(!m_search.IsSearching());
}

void CQuaerioView::OnFileSave()
{
    // The form has no document content to save.
}

void CQuaerioView::OnFilePrint()
{
    m_printer.Print(this);
}

void CQuaerioView::OnFilePrintPreview()
{
    m_printer.Preview(this);
}

CFormPrinter &CQuaerioView::Printer()
{
    return m_printer;
}

// ---------------------------------------------------------------------------
// State

CResultBrowserMap &CQuaerioView::Browsers()
{
    return m_browsers;
}

const CSearchRun &CQuaerioView::SearchRun() const
{
    return m_search;
}

CResultBrowser *CQuaerioView::CurrentBrowser() const
{
    return m_tabs->Current();
}

QString CQuaerioView::LanguageName() const
{
    return m_catalogue->LanguageName();
}

QString CQuaerioView::CategoryName() const
{
    return m_catalogue->CategoryName();
}

QString CQuaerioView::StatusText() const
{
    return m_strStatusText;
}

CAnimateCtrl *CQuaerioView::AnimateCtrl() const
{
    return m_ctlAnimate;
}
