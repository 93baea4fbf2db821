#pragma once

#include <QString>
#include <QtGlobal>

class QAccessibleEvent;
class QWidget;

// Tells assistive technology about a new status text ("Searching ...",
// "Complete", an address), as a polite live region would: the status bar,
// whose accessible name is the message it shows, reports a change of name.
// A text repeated unchanged (the monitor writes "Complete" at every idle
// tick) is not announced again.
class CStatusAnnouncer final
{
public:
    // Where the events go: QAccessible::updateAccessibility, which passes
    // them on only while assistive technology listens.
    using Sink = void (*)(QAccessibleEvent *event);
    explicit CStatusAnnouncer(Sink sink = nullptr);
    Q_DISABLE_COPY_MOVE(CStatusAnnouncer)

    // `statusBar` shows `text` already; null: nothing is announced.
    void Announce(QWidget *statusBar, const QString &text);

private:
    Sink m_sink;
    QString m_strLast;
};
