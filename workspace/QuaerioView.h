#pragma once

#include <QWidget>

#include "platform/CommandRouter.h"

// The search form: the program's only view, filling the main frame's client area.
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

signals:
    // Text for pane 0 of the main window's status bar.
    void StatusTextChanged(const QString &text);

protected:
    CCommandTarget m_commands;
};
