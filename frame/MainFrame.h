#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include "frame/FramePlacement.h"
#include "platform/CommandRouter.h"

class QAction;
class QMenu;
class QToolBar;
class CDropDownToolButton;
class CFrameKeyboard;
class CQuaerioView;
class CStatusBar;
struct SMenu;

// Show commands of the frame's activation.
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOWMINNOACTIVE = 7;

// The program's one top-level window: menu, toolbar band, status bar and the
// search form in the middle, built from the tables of res/Menus.h. Commands
// from menus, toolbar and shortcuts go through the router: the frame, then
// the active view, then the application. The window restores its placement
// and bars at the first activation and saves them when it closes (when the
// user keeps positions).
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    explicit CMainFrame(QWidget *parent = nullptr);
    ~CMainFrame() override;
    Q_DISABLE_COPY_MOVE(CMainFrame)

    // Creates the window: settings load and restore rectangle, then the bars.
    // False when the frame cannot be created.
    bool LoadFrame();

    // Places the view in the client area, routes commands to it and shows
    // its status texts.
    void SetView(CQuaerioView *view);
    CQuaerioView *GetActiveView() const;

    // The application's commands, asked last.
    void SetApplicationTarget(const CCommandTarget *target);
    const CCommandRouter &Router() const;

    // The first call applies the stored placement and bar state and chooses
    // the show command itself; later calls show with `nCmdShow` (-1: as is).
    void ActivateFrame(int nCmdShow = -1);

    // Runs command `id` when the router finds it enabled; false otherwise.
    bool OnCommand(int id);

    // Enabled and checked states of the toolbar and shortcuts, from the
    // update handlers. Runs after a state change that may alter them (see
    // RequestCommandUpdate); menus update themselves as they open.
    void UpdateCommandStates();

    // Asks for UpdateCommandStates once control returns to the event loop;
    // several requests in a row give one update. The view's
    // CommandStateChanged, a new view or application target, every command
    // run and the window's activation request it.
    void RequestCommandUpdate();

    // Pane 0 of the status bar.
    void SetMessageText(const QString &text);
    QString GetMessageText() const;

    // The arrow of a drop-down toolbar button: the Font button opens the
    // font menu just below its bottom-left corner; others open nothing.
    void OnToolbarDropDown(int id);

    // Program's options (command 32771).
    virtual void OnSetting();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    // Loads the settings the first time and settles the restore rectangle;
    // the caption is the application title, never with a document name.
    virtual bool PreCreateWindow();

    // Builds menu, toolbar band and status bar; -1 on failure.
    virtual int OnCreate();

    // Stops the view's timer and animation and saves the placement.
    virtual bool DestroyWindow();

private:
    void RegisterCommands();
    QMenu *BuildMenu(const QString &title, const SMenu &menu, QWidget *parent);
    // The result tab's menu, on the page shown.
    void PopupTabMenu(const QPoint &globalPos);
    QAction *MakeCommandAction(int id, const QString &text);
    bool BuildToolBar();
    QWidget *AddFontButton(QAction *action);
    void BuildAccelerators();
    void UpdateAction(QAction *action);
    void UpdateMenu(QMenu *menu);

    CCommandTarget m_commands;
    CCommandRouter m_router;
    QPointer<CQuaerioView> m_pView;
    const CCommandTarget *m_pAppTarget = nullptr;

    CStatusBar *m_wndStatusBar = nullptr;
    QToolBar *m_wndToolBar = nullptr;
    CDropDownToolButton *m_pFontButton = nullptr;
    QMenu *m_pFontMenu = nullptr;
    QMenu *m_pTabMenu = nullptr; // made when first asked for
    QList<QAction *> m_toolBarActions;
    QList<QAction *> m_acceleratorActions;
    CFrameKeyboard *m_pKeyboard = nullptr;
    CFramePlacement m_placement;
    // Runs UpdateCommandStates: at once when requested, and again shortly
    // while the page shown is loading (see UpdateCommandStates).
    QTimer *m_pCommandUpdateTimer = nullptr;
};
