#include "workspace/QuaerioView.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTableWidget>

#include "browsers/ResultBrowser.h"
#include "browsers/WebBrowser2.h"
#include "catalogue/CatalogFile.h"
#include "platform/DialogUnits.h"
#include "platform/MessageBox.h"
#include "platform/ModulePaths.h"
#include "platform/ProfileStore.h"
#include "platform/WaitCursor.h"
#include "preferences/AppSettings.h"
#include "res/ResourceIds.h"
#include "workspace/AnimateCtrl.h"
#include "workspace/HistoryComboBox.h"
#include "workspace/TabCtrl.h"

namespace
{
// Form template 101, in dialog units.
constexpr int kFormWidthDlu = 336;
constexpr int kFormHeightDlu = 127;

constexpr int kStatusTimerId = 1;
constexpr int kStatusTimerMs = 2000;
constexpr int kKeywordsLimit = 260;

// The animation control sits in the form's top right corner.
constexpr int kAnimateOffset = 22;
constexpr int kAnimateSize = 25;

const QString kSettings = QString::fromUtf16(kSettingsSection);
const QString kBlankPage = QStringLiteral("about:blank");

QString GuiFailedText()
{
    return QStringLiteral("Initial GUI control failed !");
}

// Right and bottom edges of a rectangle as one past its last pixel, the way
// the layout arithmetic counts them.
int RightEdge(const QRect &rect)
{
    return rect.x() + rect.width();
}

int BottomEdge(const QRect &rect)
{
    return rect.y() + rect.height();
}

QTableWidgetItem *ListItem(const QString &text, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setToolTip(text);
    return item;
}
} // namespace

CQuaerioView::CQuaerioView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QString::number(IDD_QUAERIO_FORM));
    setFont(DialogFont());
    CreateFormControls();
    RegisterCommands();
    m_timer.setInterval(kStatusTimerMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { OnTimer(kStatusTimerId); });
}

CQuaerioView::~CQuaerioView()
{
    m_timer.stop();
    m_arrLanguages.clear();
    m_arrCategories.clear();
    m_arrEngines.clear();
    WriteProfileInt(kSettings, QStringLiteral("Extended"), m_bExtended == 1 ? 1 : 0);
    // The pool (a member) is destroyed next and takes every page with it;
    // the form's controls follow with the widget.
    m_pCurBrowser = nullptr;
}

QSize CQuaerioView::FormSize()
{
    const QFont font = DialogFont();
    return {DluToPixelsX(kFormWidthDlu, font), DluToPixelsY(kFormHeightDlu, font)};
}

void CQuaerioView::CreateFormControls()
{
    const QFont font = DialogFont();
    const auto place = [&font](QWidget *widget, int id, int x, int y, int cx, int cy) {
        if (id != 0)
            widget->setObjectName(QString::number(id));
        widget->setGeometry(DluRectToPixels(x, y, cx, cy, font));
    };
    // A combo box's template height is that of its open list; the box itself
    // keeps its natural height.
    const auto placeCombo = [&](QComboBox *box, int id, int x, int y, int cx, int listCy) {
        place(box, id, x, y, cx, 12);
        box->resize(box->width(), box->sizeHint().height());
        const int itemHeight = std::max(1, box->fontMetrics().height());
        box->setMaxVisibleItems(std::max(1, DluToPixelsY(listCy, font) / itemHeight - 1));
    };
    // A label whose text is wider in this font than the template allows
    // grows up to the control it names, so no letter is cut off.
    const auto label = [&](const QString &text, int x, int y, int cx, int cy, int nextX) {
        auto *stc = new QLabel(text, this);
        place(stc, 0, x, y, cx, cy);
        const int room = DluToPixelsX(nextX, font) - stc->x();
        stc->resize(std::max(stc->width(), std::min(stc->sizeHint().width(), room)), stc->height());
        return stc;
    };

    QLabel *languageLabel = label(QStringLiteral("Language"), 4, 6, 32, 8, 40);
    m_cboLanguage = new QComboBox(this);
    placeCombo(m_cboLanguage, IDC_CBO_LANGUAGE, 40, 4, 88, 76);
    m_cboLanguage->setAccessibleName(QStringLiteral("Language"));
    languageLabel->setBuddy(m_cboLanguage);

    QLabel *categoryLabel = label(QStringLiteral("Category"), 136, 6, 32, 8, 172);
    m_cboCategory = new QComboBox(this);
    placeCombo(m_cboCategory, IDC_CBO_CATEGORY, 172, 4, 100, 76);
    m_cboCategory->setAccessibleName(QStringLiteral("Category"));
    categoryLabel->setBuddy(m_cboCategory);

    m_btnExtend = new QPushButton(QStringLiteral("-"), this);
    place(m_btnExtend, IDC_BTN_EXTEND, 276, 4, 12, 14);
    m_btnExtend->setFlat(true);
    m_btnExtend->setFocusPolicy(Qt::NoFocus);
    m_btnExtend->setAccessibleName(QStringLiteral("Show or hide the engine list"));

    m_btnDefault = new QPushButton(QStringLiteral("&Default"), this);
    place(m_btnDefault, IDC_BTN_DEFAULT, 292, 4, 28, 14);
    m_btnDefault->setFlat(true);
    m_btnDefault->setFocusPolicy(Qt::NoFocus);

    QLabel *keywordsLabel = label(QStringLiteral("KeyWords"), 4, 22, 32, 8, 40);
    m_cboKeywords = new CHistoryComboBox(this);
    placeCombo(m_cboKeywords, IDC_CBO_KEYWORDS, 40, 20, 232, 72);
    m_cboKeywords->setAccessibleName(QStringLiteral("KeyWords"));
    keywordsLabel->setBuddy(m_cboKeywords);

    m_btnSearch = new QPushButton(QStringLiteral("&Search"), this);
    place(m_btnSearch, IDC_BTN_SEARCH, 276, 20, 28, 14);
    m_btnSearch->setDefault(true);

    m_btnStop = new QPushButton(QStringLiteral("S&top"), this);
    place(m_btnStop, IDC_BTN_STOP, 308, 20, 28, 14);
    m_btnStop->setEnabled(false);

    m_lstEngines = new QTableWidget(this);
    place(m_lstEngines, IDC_LST_ENGINES, 0, 36, 252, 76);
    m_lstEngines->setAccessibleName(QStringLiteral("Engines"));
    m_lstEngines->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstEngines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lstEngines->verticalHeader()->hide();
    m_lstEngines->horizontalHeader()->setHighlightSections(false);
    m_lstEngines->setWordWrap(false);
    m_lstEngines->hide();

    m_tabEngines = new CTabCtrl(this);
    place(m_tabEngines, IDC_TAB_ENGINES, 0, 111, 108, 16);
    m_tabEngines->setAccessibleName(QStringLiteral("Engine tabs"));
    m_tabEngines->setExpanding(false);
    m_tabEngines->setUsesScrollButtons(true);
    m_tabEngines->setElideMode(Qt::ElideNone);

    m_stcMarker = new QLabel(QStringLiteral("1"), this);
    place(m_stcMarker, IDC_STC_MARKER, 248, 0, 12, 36);
    m_stcMarker->setFrameShape(QFrame::Box);
    m_stcMarker->hide();

    // Tab order follows the template.
    setTabOrder(m_cboLanguage, m_cboCategory);
    setTabOrder(m_cboCategory, m_cboKeywords);
    setTabOrder(m_cboKeywords, m_btnSearch);
    setTabOrder(m_btnSearch, m_btnStop);
    setTabOrder(m_btnStop, m_lstEngines);
    setTabOrder(m_lstEngines, m_tabEngines);

    // Control notifications: only the user's own choices count, not the
    // changes the view makes itself.
    connect(m_cboLanguage, &QComboBox::activated, this, [this] { OnLanguageChanged(); });
    connect(m_cboCategory, &QComboBox::activated, this, [this] { OnCategoryChanged(); });
    connect(m_btnSearch, &QPushButton::clicked, this, [this] { OnSearch(); });
    connect(m_btnStop, &QPushButton::clicked, this, [this] { OnStop(); });
    connect(m_btnExtend, &QPushButton::clicked, this, [this] { OnToggleExtended(); });
    connect(m_btnDefault, &QPushButton::clicked, this, [this] { OnSetDefault(); });
    connect(m_tabEngines, &CTabCtrl::SelChange, this, [this] { OnTabChanged(); });
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
// Initial update and the catalogue in the form

void CQuaerioView::OnInitialUpdate()
{
    // 1. The controls are bound at construction.
    // 2. The frame shrinks until the view is no larger than the form.
    ResizeParentToFit();

    // 3. List styles, pool parent, animation control (made once per view).
    m_lstEngines->setShowGrid(true);
    m_lstEngines->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_browsers.SetParentWnd(this);
    m_rcClient = rect();
    if (!m_ctlAnimate) {
        m_ctlAnimate = new CAnimateCtrl(this);
        m_ctlAnimate->setObjectName(QString::number(IDC_ANIMATE));
        m_ctlAnimate->setAccessibleName(QStringLiteral("Busy"));
        m_ctlAnimate->setGeometry(RightEdge(m_rcClient) - kAnimateOffset, 0, kAnimateSize, kAnimateSize);
        m_ctlAnimate->show();
    }
    m_ctlAnimate->OpenBusyClip();
    m_bAnimating = 0;

    // 4. Stored choices. A stored flag of any nonzero value means extended.
    m_nCurLanguage = GetProfileInt(kSettings, QStringLiteral("CurLanguageIndex"), 0);
    m_nCurCategory = GetProfileInt(kSettings, QStringLiteral("CurCategoryIndex"), 0);
    m_bExtended = GetProfileInt(kSettings, QStringLiteral("Extended"), 0) != 0 ? 1 : 0;

    // 5.
    m_pCatalog = GetCatalogFile();

    // 6. and 7. The languages.
    QString languages;
    if (m_pCatalog->ReadString(QStringLiteral("LANGUAGES"), QStringLiteral("Languages"), languages,
                               kCatalogListCapacity)
        == 0) {
        AfxMessageBox(GuiFailedText());
        return;
    }
    m_arrLanguages.clear();
    SplitString(languages, m_arrLanguages, QLatin1Char(';'));
    // A stored index beyond the catalogue now loaded falls back to the first.
    if (m_nCurLanguage < 0 || m_nCurLanguage >= m_arrLanguages.size())
        m_nCurLanguage = 0;
    m_cboLanguage->clear();
    m_cboLanguage->addItems(m_arrLanguages);
    m_cboLanguage->setCurrentIndex(m_nCurLanguage);

    // 8.
    LoadCategories();

    // 9. and 10. The keyword box and its history.
    m_cboKeywords->lineEdit()->setMaxLength(kKeywordsLimit);
    m_cboKeywords->SetSection(QStringLiteral("KeywordsHistory"));
    m_cboKeywords->SetEntryFormat(QStringLiteral("%d"));
    m_cboKeywords->m_bPlainEntries = true;
    m_cboKeywords->SetAutoRefresh(true);
    m_cboKeywords->SetAutoSave(true);
    const CAppSettings *settings = GetAppSettings();
    if (settings->m_bPreservedKeywords) {
        m_cboKeywords->SetMaxSize(settings->m_nKeywordsHisCount);
        m_cboKeywords->LoadHistory();
        m_cboKeywords->RefreshDropDown();
        if (settings->m_bShowLatestKeyword && m_cboKeywords->count() > 0)
            m_cboKeywords->setCurrentIndex(0);
    }

    // 11.
    m_cboKeywords->setFocus();

    // 12. Button text and list columns.
    m_btnExtend->setText(m_bExtended ? QStringLiteral("-") : QStringLiteral("+"));
    m_lstEngines->setColumnCount(3);
    m_lstEngines->setHorizontalHeaderItem(0, ListItem(QStringLiteral("Name")));
    m_lstEngines->setHorizontalHeaderItem(1, ListItem(QStringLiteral("Progress")));
    m_lstEngines->setHorizontalHeaderItem(2, ListItem(QStringLiteral("QueryURL"), Qt::AlignRight));
    m_lstEngines->setColumnWidth(0, 160);
    m_lstEngines->setColumnWidth(1, 80);
    m_lstEngines->setColumnWidth(2, 400);

    // 13. to 16.
    LoadEngines();
    ApplyExtendedLayout();
    m_pCurBrowser = m_browsers.GetBrowser(0);
    if (m_pCurBrowser)
        m_pCurBrowser->NavigateTo(g_szFirstShowPath);
    m_timer.start();
}

void CQuaerioView::ResizeParentToFit()
{
    QWidget *frame = window();
    const auto settle = [frame] {
        if (QLayout *layout = frame->layout()) {
            layout->invalidate();
            layout->activate();
        }
    };
    settle();
    const QSize form = FormSize();
    const int dx = std::max(0, width() - form.width());
    const int dy = std::max(0, height() - form.height());
    if (dx > 0 || dy > 0) {
        frame->resize(frame->width() - dx, frame->height() - dy);
        settle();
    }
    // A hidden window gets its resize event only when shown; lay the form out
    // now so that the layout starts from the controls' real rectangles.
    if (dx > 0 || dy > 0 || !m_bLaidOut)
        OnSize(width(), height());
}

void CQuaerioView::LoadCategories()
{
    while (m_cboCategory->count() > 0)
        m_cboCategory->removeItem(0);
    if (m_nCurLanguage < 0 || m_nCurLanguage >= m_arrLanguages.size())
        return;

    QString categories;
    if (m_pCatalog->ReadString(QStringLiteral("CATEGORYS"), m_arrLanguages.at(m_nCurLanguage), categories,
                               kCatalogListCapacity)
        == 0) {
        AfxMessageBox(GuiFailedText());
        return;
    }
    m_arrCategories.clear();
    SplitString(categories, m_arrCategories, QLatin1Char(';'));
    if (m_nCurCategory < 0 || m_nCurCategory >= m_arrCategories.size())
        m_nCurCategory = 0;
    m_cboCategory->addItems(m_arrCategories);
    m_cboCategory->setCurrentIndex(m_nCurCategory);
}

void CQuaerioView::LoadEngines()
{
    // Without a language or a category there is nothing to read; the failure
    // that left the lists empty has been reported already.
    if (m_nCurLanguage < 0 || m_nCurLanguage >= m_arrLanguages.size() || m_nCurCategory < 0
        || m_nCurCategory >= m_arrCategories.size())
        return;
    const QString language = m_arrLanguages.at(m_nCurLanguage);
    const QString category = m_arrCategories.at(m_nCurCategory);

    QString engines;
    if (m_pCatalog->ReadString(language, category, engines, kCatalogListCapacity) == 0) {
        AfxMessageBox(GuiFailedText());
        return;
    }
    m_arrEngines.clear();
    SplitString(engines, m_arrEngines, QLatin1Char(';'));

    if (m_lstEngines->rowCount() > 0)
        m_lstEngines->setRowCount(0);
    if (m_tabEngines->count() > 0)
        m_tabEngines->DeleteAllItems();
    m_browsers.DeactivateAll();

    for (int i = 0; i < m_arrEngines.size(); ++i) {
        const QString &section = m_arrEngines.at(i);
        QString name;
        if (m_pCatalog->ReadString(section, QStringLiteral("Name"), name, kCatalogNameCapacity) == 0) {
            AfxMessageBox(GuiFailedText());
            return;
        }
        m_lstEngines->insertRow(i);
        QTableWidgetItem *nameItem = ListItem(name);
        nameItem->setFlags(nameItem->flags() | Qt::ItemIsUserCheckable);
        nameItem->setCheckState(Qt::Unchecked);
        m_lstEngines->setItem(i, 0, nameItem);
        m_tabEngines->InsertItem(i, name);
        m_lstEngines->setItem(i, 1, ListItem(QStringLiteral("100%")));

        QString url;
        if (m_pCatalog->ReadString(section, QStringLiteral("URL"), url, kCatalogUrlCapacity) == 0) {
            AfxMessageBox(GuiFailedText());
            return;
        }
        m_lstEngines->setItem(i, 2, ListItem(url, Qt::AlignRight));
        nameItem->setCheckState(Qt::Checked);

        if (CResultBrowser *page = m_browsers.GetBrowser(i)) {
            page->SetQueryTemplate(url);
            page->m_bActive = true;
        }
    }
    m_tabEngines->SetCurSel(0);
    // The highlighted tab names the page on top, so Back, Refresh and the
    // text sizes act on the engine the user sees selected.
    ShowSelectedPage();
}

void CQuaerioView::OnLanguageChanged()
{
    const int index = m_cboLanguage->currentIndex();
    if (index == m_nCurLanguage)
        return;
    m_nCurLanguage = index;
    m_nCurCategory = 0;
    LoadCategories();
    LoadEngines();
}

void CQuaerioView::OnCategoryChanged()
{
    const int index = m_cboCategory->currentIndex();
    if (index == m_nCurCategory)
        return;
    m_nCurCategory = index;
    LoadEngines();
}

void CQuaerioView::OnSetDefault()
{
    WriteProfileInt(kSettings, QStringLiteral("CurLanguageIndex"), m_nCurLanguage);
    WriteProfileInt(kSettings, QStringLiteral("CurCategoryIndex"), m_nCurCategory);
}

// ---------------------------------------------------------------------------
// Layout

QRect CQuaerioView::ChildRect(const QWidget *child) const
{
    return child->geometry();
}

QRect CQuaerioView::PageRect() const
{
    // The page overlaps the tabs' lower border by one pixel and reaches two
    // pixels beyond the view's left, right and bottom edges.
    const int tabBottom = BottomEdge(m_rcTab);
    return {m_rcTab.x() - 2, tabBottom - 1, RightEdge(m_rcClient) + 4, BottomEdge(m_rcClient) - tabBottom + 3};
}

void CQuaerioView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    OnSize(event->size().width(), event->size().height());
}

void CQuaerioView::OnSize(int cx, int cy)
{
    if (m_ctlAnimate)
        m_ctlAnimate->setGeometry(cx - kAnimateOffset, 0, kAnimateSize, kAnimateSize);

    m_rcList = ChildRect(m_lstEngines);
    m_lstEngines->setGeometry(m_rcList.x(), m_rcList.y(), cx, m_rcList.height());

    // The tab row ends at the view's right edge, where its scroll arrows sit;
    // only the pages reach beyond it.
    m_rcTab = ChildRect(m_tabEngines);
    m_tabEngines->setGeometry(m_rcTab.x(), m_rcTab.y(), cx - m_rcTab.x(), m_rcTab.height());
    SetStatusText(QStringLiteral("width = %1 , height = %2").arg(cx).arg(cy));
    m_bLaidOut = true;

    if (m_pCurBrowser)
        m_pCurBrowser->setGeometry(m_rcTab.x() - 2, BottomEdge(m_rcTab) - 1, cx + 4, cy - BottomEdge(m_rcTab) + 3);
}

void CQuaerioView::OnToggleExtended()
{
    m_bExtended = m_bExtended ? 0 : 1;
    ApplyExtendedLayout();
}

void CQuaerioView::ApplyExtendedLayout()
{
    m_lstEngines->setVisible(m_bExtended != 0);
    m_rcClient = rect();

    int top = 0;
    if (m_bExtended) {
        m_btnExtend->setText(QStringLiteral("-"));
        top = BottomEdge(m_rcList);
    } else {
        m_btnExtend->setText(QStringLiteral("+"));
        m_rcMarker = ChildRect(m_stcMarker);
        top = BottomEdge(m_rcMarker);
    }
    m_tabEngines->setGeometry(m_rcTab.x(), top, RightEdge(m_rcClient) - m_rcTab.x(), m_rcTab.height());

    m_rcTab = ChildRect(m_tabEngines);
    m_rcClient = rect();
    m_browsers.MoveAll(PageRect());

    if (!m_pCurBrowser)
        m_pCurBrowser = m_browsers.GetBrowser(0);
    if (m_pCurBrowser) {
        m_pCurBrowser->raise();
        m_pCurBrowser->show();
    }
}

void CQuaerioView::SetStatusText(const QString &text)
{
    m_strStatusText = text;
    emit StatusTextChanged(text);
}

// ---------------------------------------------------------------------------
// Search and stop

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
    m_strKeywords = m_cboKeywords->currentText().trimmed();
    if (m_strKeywords.isEmpty()) {
        AfxMessageBox(QStringLiteral("Please input keywords !"));
        return;
    }

    CWaitCursor wait;
    m_bSearching = 1;
    m_bAnimating = 1;
    SetStatusText(QStringLiteral("Searching ") + m_strKeywords);
    UpdateControlStates();
    if (m_ctlAnimate)
        m_ctlAnimate->Play(0, -1, -1);

    m_pCurBrowser = m_browsers.GetBrowser(m_tabEngines->GetCurSel());
    m_browsers.BlankAll();
    m_browsers.SearchAll(m_strKeywords);

    m_rcTab = ChildRect(m_tabEngines);
    m_rcClient = rect();
    if (m_pCurBrowser) {
        m_pCurBrowser->setGeometry(PageRect());
        m_pCurBrowser->raise();
        m_pCurBrowser->show();
    }

    CAppSettings *settings = GetAppSettings();
    settings->Load();
    if (settings->m_bPreservedKeywords) {
        m_cboKeywords->SetMaxSize(settings->m_nKeywordsHisCount);
        m_cboKeywords->AddToHistory(m_strKeywords);
    }
    ReturnFocusToKeywords();
}

void CQuaerioView::OnStop()
{
    m_bSearching = 0;
    UpdateControlStates();
    m_browsers.StopAll();
    if (m_ctlAnimate)
        m_ctlAnimate->Play(0, 0, 0);
    m_bAnimating = 0;
    ReturnFocusToKeywords();
}

void CQuaerioView::ReturnFocusToKeywords()
{
    // The button just pressed is disabled now and would pass the focus on
    // to the tab row; the user rather refines the keywords and searches
    // again by typing alone.
    m_cboKeywords->setFocus(Qt::OtherFocusReason);
}

void CQuaerioView::UpdateControlStates()
{
    const bool idle = !m_bSearching;
    m_cboLanguage->setEnabled(idle);
    m_cboCategory->setEnabled(idle);
    m_btnSearch->setEnabled(idle);
    m_lstEngines->setEnabled(idle);
    m_btnStop->setEnabled(!idle);
}

// ---------------------------------------------------------------------------
// Progress monitor and tabs

void CQuaerioView::OnTimer(int)
{
    if (m_browsers.IsAnyBusy()) {
        m_bSearching = 1;
        if (!m_bAnimating) {
            if (m_ctlAnimate)
                m_ctlAnimate->Play(0, -1, -1);
            m_bAnimating = 1;
        }
        return;
    }
    m_bSearching = 0;
    if (m_ctlAnimate)
        m_ctlAnimate->Play(0, 0, 0);
    m_bAnimating = 0;
    UpdateControlStates();
    SetStatusText(QStringLiteral("Complete"));
}

void CQuaerioView::OnTabChanged()
{
    if (!ShowSelectedPage())
        return;
    const QString location = m_pCurBrowser->GetLocationURL();
    if (location != kBlankPage)
        SetStatusText(location);
}

bool CQuaerioView::ShowSelectedPage()
{
    const int sel = m_tabEngines->GetCurSel();
    if (m_pCurBrowser)
        m_pCurBrowser->setGeometry(0, 0, 0, 0);
    m_pCurBrowser = m_browsers.GetBrowser(sel);

    m_rcClient = rect();
    m_rcTab = ChildRect(m_tabEngines);
    const QRect page = PageRect();

    if (!m_pCurBrowser)
        m_pCurBrowser = m_browsers.GetBrowser(0);
    if (!m_pCurBrowser)
        return false;
    m_pCurBrowser->raise();
    m_pCurBrowser->setGeometry(page);
    m_pCurBrowser->show();
    m_pCurBrowser->update();
    return true;
}

void CQuaerioView::KillTimer(int id)
{
    if (id == kStatusTimerId)
        m_timer.stop();
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
    if (m_pCurBrowser)
        m_pCurBrowser->GoBack();
}

void CQuaerioView::OnGoForward()
{
    if (m_pCurBrowser)
        m_pCurBrowser->GoForward();
}

void CQuaerioView::OnStopPage()
{
    if (m_pCurBrowser)
        m_pCurBrowser->Stop();
}

void CQuaerioView::OnRefresh()
{
    if (m_pCurBrowser)
        m_pCurBrowser->Refresh();
}

void CQuaerioView::SetTextSize(int level)
{
    if (m_pCurBrowser)
        m_pCurBrowser->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, level);
}

void CQuaerioView::OnFontLargest()
{
    SetTextSize(4);
}

void CQuaerioView::OnFontLarger()
{
    SetTextSize(3);
}

void CQuaerioView::OnFontMedium()
{
    SetTextSize(2);
}

void CQuaerioView::OnFontSmaller()
{
    SetTextSize(1);
}

void CQuaerioView::OnFontSmallest()
{
    SetTextSize(0);
}

void CQuaerioView::OnInputNewKeyword()
{
    m_cboKeywords->setEditText(QStringLiteral("Please input new keywords ..."));
    m_cboKeywords->lineEdit()->deselect();
    m_cboKeywords->setFocus(Qt::OtherFocusReason);
}

void CQuaerioView::OnUpdateNavigate(CCmdUI &)
{
    // Back, Forward and Refresh are always available: the state stays as
    // the router set it for a command that has a handler.
}

void CQuaerioView::OnUpdateStopPage(CCmdUI &cmdUI)
{
    cmdUI.Enable(m_pCurBrowser != nullptr && m_pCurBrowser->GetBusy());
}

void CQuaerioView::OnUpdateInputNewKeyword(CCmdUI &cmdUI)
{
    cmdUI.Enable(!m_bSearching);
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

CResultBrowser *CQuaerioView::CurrentBrowser() const
{
    return m_pCurBrowser;
}

bool CQuaerioView::IsSearching() const
{
    return m_bSearching != 0;
}

bool CQuaerioView::IsAnimating() const
{
    return m_bAnimating != 0;
}

bool CQuaerioView::IsExtended() const
{
    return m_bExtended != 0;
}

bool CQuaerioView::IsTimerActive() const
{
    return m_timer.isActive();
}

int CQuaerioView::CurrentLanguage() const
{
    return m_nCurLanguage;
}

int CQuaerioView::CurrentCategory() const
{
    return m_nCurCategory;
}

QString CQuaerioView::Keywords() const
{
    return m_strKeywords;
}

QString CQuaerioView::StatusText() const
{
    return m_strStatusText;
}

CAnimateCtrl *CQuaerioView::AnimateCtrl() const
{
    return m_ctlAnimate;
}
