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
#include "res/Menus.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"
#include "workspace/QuaerioView.h"

namespace
{
// The caption is cut to this many characters.
constexpr qsizetype kMaxTitleLength = 39;

// The browser control reports the end of a load only when asked, and the
// view asks every 2000 ms: while "Stop" is enabled (the page shown loads),
// the toolbar is brought up to date this often, so it turns off soon after
// the load ends.
constexpr int kLoadingRecheckMs = 250;

constexpr int kMinButtonWidth = 50;
constexpr int kMaxButtonWidth = 150;
const QSize kToolBarImageSize(30, 20);
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
    for (const SMenu &menu : MainMenu())
        menuBar()->addMenu(BuildMenu(QString::fromUtf16(menu.title), menu, menuBar()));
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

    // View > Toolbar and View > Status Bar show or hide their bar.
    for (const int id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        const auto bar = [this, id]() -> QWidget * {
            return id == ID_VIEW_TOOLBAR ? static_cast<QWidget *>(m_wndToolBar) : m_wndStatusBar;
        };
        m_commands.OnCommand(id, this, [bar] {
            if (QWidget *widget = bar())
                widget->setHidden(!widget->isHidden());
        });
        m_commands.OnUpdate(id, this, [bar](CCmdUI &cmdUI) {
            const QWidget *widget = bar();
            cmdUI.Enable(widget != nullptr);
            cmdUI.SetCheck(widget && !widget->isHidden());
        });
    }
}

QAction *CMainFrame::MakeCommandAction(int id, const QString &text)
{
    auto *action = new QAction(text, this);
    action->setData(id);
    action->setStatusTip(CommandPrompt(id));
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    return action;
}

QMenu *CMainFrame::BuildMenu(const QString &title, const SMenu &menu, QWidget *parent)
{
    auto *popup = new QMenu(title, parent);
    // A menu is read out by its title, without the mnemonic's marker; a menu
    // that pops up on its own has no other name.
    popup->setAccessibleName(QString(popup->title()).remove(QLatin1Char('&')));
    for (const SMenuItem &item : menu.items) {
        if (item.submenu) {
            popup->addMenu(BuildMenu(QString::fromUtf16(item.text), *item.submenu, popup));
        } else if (!item.text) {
            popup->addSeparator();
        } else {
            QAction *action = MakeCommandAction(item.id, QString::fromUtf16(item.text));
            action->setCheckable(item.checkable);
            popup->addAction(action);
        }
    }
    connect(popup, &QMenu::aboutToShow, this, [this, popup] { UpdateMenu(popup); });
    return popup;
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

    for (const SToolButton &button : MainToolBar()) {
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
            widget = AddFontButton(action);
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

QWidget *CMainFrame::AddFontButton(QAction *action)
{
    m_pFontButton = new CDropDownToolButton(m_wndToolBar);
    m_pFontButton->setDefaultAction(action);
    m_pFontButton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_pFontButton->setIconSize(kToolBarImageSize);
    m_pFontButton->setAutoRaise(true);
    connect(m_pFontButton, &CDropDownToolButton::DropDown, this, [this] { OnToolbarDropDown(ID_FONT_DROPDOWN); });
    // The split button opens its menu from the keyboard as well, and carries
    // the menu, so assistive technology finds it there.
    m_pFontButton->setFocusPolicy(Qt::TabFocus);
    m_pFontMenu = BuildMenu(QString::fromUtf16(FontMenu().title), FontMenu(), this);
    m_pFontButton->setMenu(m_pFontMenu);
    m_wndToolBar->addWidget(m_pFontButton);
    return m_pFontButton;
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
    for (const auto &[keys, id] : MainAccelerators())
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
        connect(view, &CQuaerioView::TabMenuRequested, this, &CMainFrame::PopupTabMenu);
    }
    RequestCommandUpdate();
}

void CMainFrame::PopupTabMenu(const QPoint &globalPos)
{
    if (!m_pTabMenu)
        m_pTabMenu = BuildMenu(QString::fromUtf16(TabMenu().title), TabMenu(), this);
    m_pTabMenu->popup(globalPos);
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

void CMainFrame::OnToolbarDropDown(int id)
{
    if (id != ID_FONT_DROPDOWN || !m_pFontButton)
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
