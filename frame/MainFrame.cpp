#include "frame/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QToolBar>

#include <algorithm>

#include "frame/DropDownToolButton.h"
#include "frame/FrameKeyboard.h"
#include "frame/StatusBar.h"
#include "preferences/BrowsingData.h"
#include "preferences/SettingsDlg.h"
#include "res/Images.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"
#include "workspace/QuaerioView.h"

namespace
{
// The caption is cut to this many characters.
constexpr qsizetype kMaxTitleLength = 39;

struct MenuItem
{
    const char16_t *text; // null: a separator
    int id;
};

struct Menu
{
    const char16_t *title;
    std::initializer_list<MenuItem> items;
};

// Menu 128. The maker's site item takes its caption from the string table.
const Menu kMainMenu[] = {
    {u"&File",
     {{u"&New Search", ID_FILE_NEW},
      {nullptr, 0},
      {u"&Save\tCtrl+S", ID_FILE_SAVE},
      {nullptr, 0},
      {u"&Print...\tCtrl+P", ID_FILE_PRINT},
      {u"Print Pre&view", ID_FILE_PRINT_PREVIEW},
      {u"P&rint Setup...", ID_FILE_PRINT_SETUP},
      {nullptr, 0},
      {u"E&xit", ID_APP_EXIT}}},
    {u"&Go", {{u"&Back\tAlt + Left", ID_GO_BACK}, {u"&Forward\tAlt + Right", ID_GO_FORWARD}}},
    {u"&View",
     {{u"S&top", ID_VIEW_STOP},
      {u"&Refresh", ID_VIEW_REFRESH},
      {nullptr, 0},
      {u"&Toolbar", ID_VIEW_TOOLBAR},
      {u"&Status Bar", ID_VIEW_STATUS_BAR},
      {nullptr, 0},
      {u"S&etting...", ID_VIEW_SETTING},
      {u"Clear &Browsing Data...", ID_VIEW_CLEAR_BROWSING_DATA}}},
    {u"&Help",
     {{u"&Homepage", ID_HELP_HOMEPAGE},
      {u"&Support", ID_HELP_SUPPORT},
      {u"", ID_HELP_MAKER},
      {nullptr, 0},
      {u"&About...", ID_APP_ABOUT}}},
};

// Where the View menu is, and its Refresh item.
constexpr int kViewMenuIndex = 2;
constexpr int kViewRefreshIndex = 1;

// Font menu 132.
const MenuItem kFontMenu[] = {
    {u"Lar&gest", ID_FONT_LARGEST}, {u"&Larger", ID_FONT_LARGER},     {u"&Medium", ID_FONT_MEDIUM},
    {u"&Smaller", ID_FONT_SMALLER}, {u"Sm&allest", ID_FONT_SMALLEST},
};

struct ToolButton
{
    int id; // 0: a separator
    const char16_t *icon; // the picture's freedesktop icon name
    int label;
};

// The toolbar, left to right.
const ToolButton kToolBar[] = {
    {ID_INPUT_NEW_KEYWORD, u"document-new", IDS_LABEL_NEW},
    {0, nullptr, 0},
    {ID_GO_BACK, u"go-previous", IDS_LABEL_BACK},
    {ID_GO_FORWARD, u"go-next", IDS_LABEL_FORWARD},
    {ID_VIEW_STOP, u"process-stop", IDS_LABEL_STOP},
    {ID_VIEW_REFRESH, u"view-refresh", IDS_LABEL_REFRESH},
    {ID_FONT_DROPDOWN, u"preferences-desktop-font", IDS_LABEL_FONT},
    {0, nullptr, 0},
    {ID_VIEW_SETTING, u"preferences-system", IDS_SETTING_LABEL},
    {ID_APP_ABOUT, u"help-about", IDS_LABEL_ABOUT},
};

// The browser control reports the end of a load only when asked, and the
// view asks every 2000 ms: while "Stop" is enabled (the page shown loads),
// the toolbar is brought up to date this often, so it turns off soon after
// the load ends.
constexpr int kLoadingRecheckMs = 250;

constexpr int kMinButtonWidth = 50;
constexpr int kMaxButtonWidth = 150;
const QSize kToolBarImageSize(30, 20);

// Accelerator table 128.
const std::pair<QKeyCombination, int> kAccelerators[] = {
    {Qt::CTRL | Qt::Key_N, ID_FILE_NEW},        {Qt::CTRL | Qt::Key_P, ID_FILE_PRINT},
    {Qt::SHIFT | Qt::Key_Delete, ID_EDIT_CUT},  {QKeyCombination(Qt::Key_F6), ID_NEXT_PANE},
    {Qt::SHIFT | Qt::Key_F6, ID_PREV_PANE},     {Qt::CTRL | Qt::Key_Insert, ID_EDIT_COPY},
    {Qt::SHIFT | Qt::Key_Insert, ID_EDIT_PASTE}, {Qt::ALT | Qt::Key_Left, ID_GO_BACK},
    {Qt::ALT | Qt::Key_Right, ID_GO_FORWARD},
};

// A menu is read out by its title, without the mnemonic's marker; a menu
// that pops up on its own has no other name.
void NameForAccessibility(QMenu *menu)
{
    menu->setAccessibleName(QString(menu->title()).remove(QLatin1Char('&')));
}

} // namespace

CMainFrame::CMainFrame(QWidget *parent)
    : QMainWindow(parent)
{
    m_router.AddTarget([this] { return &m_commands; });
    m_router.AddTarget([this]() -> const CCommandTarget * { return m_pView ? &m_pView->CommandTarget() : nullptr; });
    m_router.AddTarget([this] { return m_pAppTarget; });
    RegisterCommands();

    // Toolbar and shortcut states follow the update handlers after the state
    // changes that can alter them, rather than each time the event loop
    // falls idle, which happens thousands of times a second while pages load.
    m_pCommandUpdateTimer = new QTimer(this);
    m_pCommandUpdateTimer->setObjectName(QStringLiteral("CommandUpdateTimer"));
    m_pCommandUpdateTimer->setSingleShot(true);
    connect(m_pCommandUpdateTimer, &QTimer::timeout, this, &CMainFrame::UpdateCommandStates);
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::LoadFrame()
{
    if (!PreCreateWindow())
        return false;
    return OnCreate() == 0;
}

bool CMainFrame::PreCreateWindow()
{
    m_placement.SettleRestoreRect();
    setWindowTitle(LoadResString(AFX_IDS_APP_TITLE).left(kMaxTitleLength));
    setWindowFilePath(QString());
    return true;
}

int CMainFrame::OnCreate()
{
    setWindowIcon(LoadAppIcon());
    BuildMenus();
    if (!BuildToolBar())
        return -1;
    m_wndStatusBar = new CStatusBar(this);
    setStatusBar(m_wndStatusBar);
    BuildAccelerators();
    RequestCommandUpdate();
    return 0;
}

void CMainFrame::RegisterCommands()
{
    m_commands.OnCommand(ID_VIEW_SETTING, this, [this] { OnSetting(); });
    m_commands.OnCommand(ID_VIEW_CLEAR_BROWSING_DATA, this, [] { ClearBrowsingDataWithConfirmation(); });
    m_commands.OnUpdate(ID_VIEW_CLEAR_BROWSING_DATA, this,
                        [](CCmdUI &cmdUI) { cmdUI.Enable(HasBrowsingData()); });
    // The button part of Font: handled, so it stays enabled, and nothing more.
    m_commands.OnCommand(ID_FONT_DROPDOWN, this, [] {});
    m_commands.OnCommand(ID_APP_EXIT, this, [this] { close(); });
    // Ctrl+Plus and Ctrl+Minus run the Font menu's command next to the
    // checked one.
    for (const auto &size : {std::pair{ID_VIEW_TEXT_LARGER, 1}, std::pair{ID_VIEW_TEXT_SMALLER, -1}}) {
        const int step = size.second;
        m_commands.OnCommand(size.first, this, [this, step] {
            if (const int font = CFrameKeyboard::SteppedFontCommand(m_router, step))
                OnCommand(font);
        });
    }

    m_commands.OnCommand(ID_VIEW_TOOLBAR, this, [this] {
        if (m_wndToolBar)
            m_wndToolBar->setHidden(!m_wndToolBar->isHidden());
    });
    m_commands.OnUpdate(ID_VIEW_TOOLBAR, this, [this](CCmdUI &cmdUI) {
        cmdUI.Enable(m_wndToolBar != nullptr);
        cmdUI.SetCheck(m_wndToolBar && !m_wndToolBar->isHidden());
    });
    m_commands.OnCommand(ID_VIEW_STATUS_BAR, this, [this] {
        if (m_wndStatusBar)
            m_wndStatusBar->setHidden(!m_wndStatusBar->isHidden());
    });
    m_commands.OnUpdate(ID_VIEW_STATUS_BAR, this, [this](CCmdUI &cmdUI) {
        cmdUI.Enable(m_wndStatusBar != nullptr);
        cmdUI.SetCheck(m_wndStatusBar && !m_wndStatusBar->isHidden());
    });
}

QAction *CMainFrame::MakeCommandAction(int id, const QString &text)
{
    auto *action = new QAction(text, this);
    action->setData(id);
    action->setStatusTip(CommandPrompt(id));
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    return action;
}

void CMainFrame::BuildMenus()
{
    QMenuBar *bar = menuBar();
    for (const Menu &menu : kMainMenu) {
        QMenu *popup = bar->addMenu(QString::fromUtf16(menu.title));
        NameForAccessibility(popup);
        for (const MenuItem &item : menu.items) {
            if (!item.text) {
                popup->addSeparator();
                continue;
            }
            const QString text = item.id == ID_HELP_MAKER ? kMakerSiteName : QString::fromUtf16(item.text);
            QAction *action = MakeCommandAction(item.id, text);
            if (item.id == ID_VIEW_TOOLBAR || item.id == ID_VIEW_STATUS_BAR)
                action->setCheckable(true);
            popup->addAction(action);
        }
        connect(popup, &QMenu::aboutToShow, this, [this, popup] { UpdateMenu(popup); });
    }

    for (const MenuItem &item : kFontMenu)
        m_fontActions.append(MakeCommandAction(item.id, QString::fromUtf16(item.text)));
    AddKeyboardMenuItems(bar->actions().at(kViewMenuIndex)->menu());
}

void CMainFrame::AddKeyboardMenuItems(QMenu *view)
{
    // After Refresh: the text sizes as in the Font menu, and the engine list.
    QAction *before = view->actions().at(kViewRefreshIndex + 1);
    auto *sizes = new QMenu(LoadResString(IDS_TEXT_SIZE_MENU), view);
    NameForAccessibility(sizes);
    sizes->addActions(m_fontActions);
    connect(sizes, &QMenu::aboutToShow, this, [this, sizes] { UpdateMenu(sizes); });
    view->insertMenu(before, sizes);
    QAction *engineList = MakeCommandAction(ID_VIEW_ENGINE_LIST, QStringLiteral("&Engine List\tCtrl+Shift+E"));
    engineList->setCheckable(true);
    view->insertAction(before, engineList);
}

bool CMainFrame::BuildToolBar()
{
    // The toolbar is the one band at the top: it can be moved along it by its
    // grip, never floats and never docks elsewhere.
    m_wndToolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_wndToolBar->setObjectName(QStringLiteral("ToolBar"));
    m_wndToolBar->setMovable(true);
    m_wndToolBar->setFloatable(false);
    m_wndToolBar->setAllowedAreas(Qt::TopToolBarArea);
    m_wndToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_wndToolBar->setIconSize(kToolBarImageSize);
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);

    for (const ToolButton &button : kToolBar) {
        if (button.id == 0) {
            m_wndToolBar->addSeparator();
            continue;
        }
        QAction *action = MakeCommandAction(button.id, LoadResString(button.label));
        action->setIcon(LoadToolbarIcon(QString::fromUtf16(button.icon)));
        action->setToolTip(CommandTooltip(button.id));
        m_toolBarActions.append(action);

        QWidget *widget = nullptr;
        if (button.id == ID_FONT_DROPDOWN) {
            m_pFontButton = new CDropDownToolButton(m_wndToolBar);
            m_pFontButton->setDefaultAction(action);
            m_pFontButton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            m_pFontButton->setIconSize(kToolBarImageSize);
            m_pFontButton->setAutoRaise(true);
            connect(m_pFontButton, &CDropDownToolButton::DropDown, this, [this] { OnToolbarDropDown(ID_FONT_DROPDOWN); });
            // The split button opens its menu from the keyboard as well, and
            // carries the menu, so assistive technology finds it there.
            m_pFontButton->setFocusPolicy(Qt::TabFocus);
            m_pFontButton->setMenu(CreateFontMenu());
            m_wndToolBar->addWidget(m_pFontButton);
            widget = m_pFontButton;
        } else {
            m_wndToolBar->addAction(action);
            widget = m_wndToolBar->widgetForAction(action);
        }
        if (!widget)
            return false;
        widget->setMinimumWidth(kMinButtonWidth);
        widget->setMaximumWidth(kMaxButtonWidth);
    }
    return true;
}

void CMainFrame::BuildAccelerators()
{
    const auto add = [this](QKeyCombination keys, int id) {
        QAction *action = MakeCommandAction(id, QString());
        action->setShortcut(QKeySequence(keys));
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        m_acceleratorActions.append(action);
    };
    for (const auto &[keys, id] : kAccelerators)
        add(keys, id);
    for (const auto &[keys, id] : CFrameKeyboard::Accelerators())
        add(keys, id);
    m_pKeyboard = new CFrameKeyboard(this);
}

void CMainFrame::SetView(CQuaerioView *view)
{
    if (m_pView)
        disconnect(m_pView, nullptr, this, nullptr);
    m_pView = view;
    setCentralWidget(view);
    if (view) {
        connect(view, &CQuaerioView::StatusTextChanged, this, [this](const QString &text) {
            if (m_wndStatusBar)
                m_wndStatusBar->Announce(text);
        });
        connect(view, &CQuaerioView::CommandStateChanged, this, &CMainFrame::RequestCommandUpdate);
    }
    RequestCommandUpdate();
}

CQuaerioView *CMainFrame::GetActiveView() const
{
    return m_pView;
}

void CMainFrame::SetApplicationTarget(const CCommandTarget *target)
{
    m_pAppTarget = target;
    RequestCommandUpdate();
}

const CCommandRouter &CMainFrame::Router() const
{
    return m_router;
}

bool CMainFrame::OnCommand(int id)
{
    // A disabled command is not run, whichever way it was sent.
    if (!m_router.Update(id).m_bEnabled)
        return false;
    // A command may change what is enabled: a page goes back or stops.
    RequestCommandUpdate();
    return m_router.Execute(id);
}

void CMainFrame::UpdateAction(QAction *action)
{
    const CCmdUI cmdUI = m_router.Update(action->data().toInt());
    action->setEnabled(cmdUI.m_bEnabled);
    if (cmdUI.m_bChecked && !action->isCheckable())
        action->setCheckable(true);
    if (action->isCheckable())
        action->setChecked(cmdUI.m_bChecked);
}

void CMainFrame::UpdateMenu(QMenu *menu)
{
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        if (!action->isSeparator() && action->data().isValid())
            UpdateAction(action);
    }
}

void CMainFrame::UpdateCommandStates()
{
    bool loading = false;
    for (QAction *action : std::as_const(m_toolBarActions)) {
        UpdateAction(action);
        loading |= action->data().toInt() == ID_VIEW_STOP && action->isEnabled();
    }
    for (QAction *action : std::as_const(m_acceleratorActions))
        UpdateAction(action);
    if (loading && !m_pCommandUpdateTimer->isActive())
        m_pCommandUpdateTimer->start(kLoadingRecheckMs);
}

void CMainFrame::RequestCommandUpdate()
{
    m_pCommandUpdateTimer->start(0);
}

void CMainFrame::SetMessageText(const QString &text)
{
    if (m_wndStatusBar)
        m_wndStatusBar->SetMessageText(text);
}

QString CMainFrame::GetMessageText() const
{
    return m_wndStatusBar ? m_wndStatusBar->GetMessageText() : QString();
}

QMenu *CMainFrame::CreateFontMenu()
{
    m_pFontMenu = new QMenu(LoadResString(IDS_LABEL_FONT), this);
    NameForAccessibility(m_pFontMenu);
    m_pFontMenu->addActions(m_fontActions);
    connect(m_pFontMenu, &QMenu::aboutToShow, this, [this] { UpdateMenu(m_pFontMenu); });
    return m_pFontMenu;
}

void CMainFrame::OnToolbarDropDown(int id)
{
    if (id != ID_FONT_DROPDOWN || !m_pFontButton || !m_pFontMenu)
        return;
    m_pFontMenu->close();
    UpdateMenu(m_pFontMenu);
    // The keyboard starts on the size in use.
    const QList<QAction *> sizes = m_pFontMenu->actions();
    const auto checked = std::find_if(sizes.begin(), sizes.end(), [](QAction *size) { return size->isChecked(); });
    m_pFontMenu->setActiveAction(checked != sizes.end() ? *checked : nullptr);
    const QPoint corner = m_pFontButton->mapToGlobal(QPoint(0, m_pFontButton->height()));
    m_pFontMenu->popup(corner + QPoint(0, 1));
}

void CMainFrame::OnSetting()
{
    // The dialog writes the settings store itself; its result is not needed.
    CSettingsDlg dialog;
    dialog.exec();
}

bool CMainFrame::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        RequestCommandUpdate();
    if (event->type() == QEvent::StatusTip) {
        // The prompt of the item under the pointer; "Ready" once it leaves.
        const QString tip = static_cast<QStatusTipEvent *>(event)->tip();
        SetMessageText(tip.isEmpty() ? LoadResString(AFX_IDS_IDLEMESSAGE) : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::ActivateFrame(int nCmdShow)
{
    if (m_placement.ShowFirst(*this))
        return;
    switch (nCmdShow) {
    case SW_SHOWNORMAL:
        showNormal();
        break;
    case SW_SHOWMAXIMIZED:
        showMaximized();
        break;
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        showMinimized();
        return;
    default:
        if (!isVisible())
            show();
        else if (isMinimized())
            setWindowState(windowState() & ~Qt::WindowMinimized);
        break;
    }
    raise();
    activateWindow();
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    DestroyWindow();
    event->accept();
}

bool CMainFrame::DestroyWindow()
{
    if (m_pView) {
        m_pView->KillTimer(1);
        m_pView->CloseAnimation();
    }
    CFramePlacement::Save(*this);
    return true;
}
