#include "frame/StatusAnnouncer.h"

#include <QAccessible>
#include <QWidget>

CStatusAnnouncer::CStatusAnnouncer(Sink sink)
    : m_sink(sink ? sink : &QAccessible::updateAccessibility)
{
}

void CStatusAnnouncer::Announce(QWidget *statusBar, const QString &text)
{
    if (!statusBar || text == m_strLast)
        return;
    m_strLast = text;
    QAccessibleEvent changed(statusBar, QAccessible::NameChanged);
    m_sink(&changed);
}
