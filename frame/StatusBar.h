#pragma once

#include <QStatusBar>
#include <QTimer>

#include "frame/StatusAnnouncer.h"

class QLabel;

// The main window's status bar: the message pane, then the indicators "CAP",
// "NUM" and "SCRL", lit while their lock key is on. Every text of the
// message pane is also handed to the platform services (StatusTextShown).
class CStatusBar final : public QStatusBar
{
    Q_OBJECT

public:
    explicit CStatusBar(QWidget *parent);
    ~CStatusBar() override;
    Q_DISABLE_COPY_MOVE(CStatusBar)

    // Shows `text` in the message pane.
    void SetMessageText(const QString &text);
    QString GetMessageText() const;

    // Shows `text` and tells assistive technology of it, as a live region
    // would: for what the program reports of its own accord (progress, the
    // address of the page shown), not for the prompt of the item under the
    // pointer, which a screen reader reads from the item.
    void Announce(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void UpdateLockKeys();

    QLabel *m_pIndicators[3] = {};
    QTimer m_lockKeyTimer;
    CStatusAnnouncer m_announcer;
};
