#include "frame/StatusBar.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

#include "frame/LockKeys.h"
#include "platform/PlatformServices.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

CStatusBar::CStatusBar(QWidget *parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar"));
    const int indicators[] = {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    for (int i = 0; i < 3; ++i) {
        auto *label = new QLabel(LoadResString(indicators[i]), this);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(label->text()) + 12);
        label->setEnabled(false);
        addPermanentWidget(label);
        m_pIndicators[i] = label;
    }
    SetMessageText(LoadResString(AFX_IDS_IDLEMESSAGE));

    // The lock keys change with key presses while the program has the
    // keyboard, and elsewhere while it has not. They are read once the key
    // events of the moment are handled.
    m_lockKeyTimer.setSingleShot(true);
    m_lockKeyTimer.setInterval(0);
    connect(&m_lockKeyTimer, &QTimer::timeout, this, &CStatusBar::UpdateLockKeys);
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this] { m_lockKeyTimer.start(); });
    UpdateLockKeys();
}

CStatusBar::~CStatusBar()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

void CStatusBar::SetMessageText(const QString &text)
{
    showMessage(text);
    PlatformServices().StatusTextShown(text);
}

QString CStatusBar::GetMessageText() const
{
    return currentMessage();
}

void CStatusBar::Announce(const QString &text)
{
    SetMessageText(text);
    m_announcer.Announce(this, text);
}

bool CStatusBar::eventFilter(QObject *watched, QEvent *event)
{
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) && !m_lockKeyTimer.isActive())
        m_lockKeyTimer.start();
    return QStatusBar::eventFilter(watched, event);
}

void CStatusBar::UpdateLockKeys()
{
    const CLockKeyState state = ReadLockKeyState();
    const bool lit[] = {state.caps, state.num, state.scroll};
    for (int i = 0; i < 3; ++i)
        m_pIndicators[i]->setEnabled(state.known && lit[i]);
}
