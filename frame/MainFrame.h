#pragma once

#include <QMainWindow>

#include "platform/CommandRouter.h"

class CQuaerioView;

// The program's one top-level window around the search form.
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

    // Places the view in the client area and routes commands to it.
    void SetView(CQuaerioView *view);
    CQuaerioView *GetActiveView() const;

    // The application's commands, asked last.
    void SetApplicationTarget(const CCommandTarget *target);
    const CCommandRouter &Router() const;

    // First call applies the stored placement; later calls just show.
    void ActivateFrame(int nCmdShow = -1);

protected:
    void closeEvent(QCloseEvent *event) override;

    // Stops the view's timer and animation and saves the placement.
    virtual bool DestroyWindow();

private:
    CCommandTarget m_commands;
    CCommandRouter m_router;
    CQuaerioView *m_pView = nullptr;
    const CCommandTarget *m_pAppTarget = nullptr;
};
