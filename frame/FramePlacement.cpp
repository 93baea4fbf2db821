#include "frame/FramePlacement.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QStatusBar>

#include <limits>
#include <utility>

#include "platform/ProfileStore.h"
#include "preferences/AppSettings.h"

const QRect g_rcDefaultFrame(0, 0, 760, 640);

namespace
{
const QString kSettings = QString::fromUtf16(kSettingsSection);
const QString kPosition = QStringLiteral("Position");
const QString kIcon = QStringLiteral("icon");
const QString kMax = QStringLiteral("max");
const QString kBars = QStringLiteral("Quaerio-Bars");
const QString kBarLayout = QStringLiteral("Layout");
const QString kStatusBarShown = QStringLiteral("StatusBar");

// Window coordinates beyond this are not positions any screen arrangement
// gives; a stored value outside the range is garbage.
constexpr qint64 kCoordinateLimit = 32767;

constexpr qsizetype kFieldOffsets[] = {0, 5, 10, 15};

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

// A decimal integer as the C library's wide-string conversion reads it,
// saturated to the range of int.
int readInteger(const QString &text, qsizetype at)
{
    qsizetype i = at;
    while (i < text.size() && isBlank(text.at(i)))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    qint64 value = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        value = value * 10 + (text.at(i).unicode() - u'0');
        if (value > std::numeric_limits<int>::max())
            value = qint64(std::numeric_limits<int>::max()) + 1;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}
// The window state that "icon" and "max" stand for. A window minimised from
// the maximised state returns to it when restored.
Qt::WindowStates StoredState()
{
    const bool icon = GetProfileInt(kSettings, kIcon, 0) != 0;
    const bool max = GetProfileInt(kSettings, kMax, 0) != 0;
    return (icon ? Qt::WindowMinimized : Qt::WindowNoState) | (max ? Qt::WindowMaximized : Qt::WindowNoState);
}

// A rectangle on a monitor that is gone would open the window where nobody
// can see it.
QRect OnAttachedScreen(const QRect &rect)
{
    QList<QRect> screens;
    const QList<QScreen *> attached = QGuiApplication::screens();
    for (const QScreen *screen : attached)
        screens.append(screen->geometry());
    const QScreen *primary = QGuiApplication::primaryScreen();
    return FitOntoScreens(rect, screens, primary ? primary->availableGeometry() : QRect());
}

void LoadBarState(QMainWindow &window)
{
    const QByteArray layout = GetProfileBinary(kBars, kBarLayout);
    if (!layout.isEmpty())
        window.restoreState(layout);
    window.statusBar()->setHidden(GetProfileInt(kBars, kStatusBarShown, 1) == 0);
}
} // namespace

void CFramePlacement::SettleRestoreRect()
{
    CAppSettings *settings = GetAppSettings();
    if (m_bFirstSettle)
        settings->Load();
    if (settings->m_bPreservedPos == 0)
        m_rcRestoreFrame = g_rcDefaultFrame;
    else if (m_bFirstSettle)
        m_rcRestoreFrame = ParseFramePosition(GetProfileString(kSettings, kPosition)).value_or(g_rcDefaultFrame);
    m_bFirstSettle = false;
}

bool CFramePlacement::ShowFirst(QMainWindow &window)
{
    if (!std::exchange(m_bFirstShow, false))
        return false;
    const Qt::WindowStates state = StoredState();
    LoadBarState(window);
    // The normal rectangle first, so that a maximised or minimised window
    // returns to it.
    window.setWindowState(Qt::WindowNoState);
    window.setGeometry(OnAttachedScreen(m_rcRestoreFrame));
    window.setWindowState(state);
    if (state & Qt::WindowMinimized) {
        window.setAttribute(Qt::WA_ShowWithoutActivating, true);
        window.show();
        window.setAttribute(Qt::WA_ShowWithoutActivating, false);
        return true;
    }
    window.show();
    window.raise();
    window.activateWindow();
    return true;
}

void CFramePlacement::Save(const QMainWindow &window)
{
    if (GetAppSettings()->m_bPreservedPos == 0)
        return;
    const Qt::WindowStates state = window.windowState();
    const bool maximised = state & (Qt::WindowMaximized | Qt::WindowFullScreen);
    const bool minimised = state & Qt::WindowMinimized;
    QRect normal = window.normalGeometry();
    if (!normal.isValid())
        normal = window.geometry();
    const CProfileBatch batch;
    WriteProfileString(kSettings, kPosition, FormatFramePosition(normal));
    WriteProfileInt(kSettings, kIcon, minimised ? 1 : 0);
    WriteProfileInt(kSettings, kMax, maximised ? 1 : 0);
    WriteProfileBinary(kBars, kBarLayout, window.saveState());
    WriteProfileInt(kBars, kStatusBarShown, window.statusBar()->isHidden() ? 0 : 1);
}

QString FormatFramePosition(const QRect &rect)
{
    return QString::asprintf("%04d %04d %04d %04d", rect.x(), rect.y(), rect.x() + rect.width(),
                             rect.y() + rect.height());
}

std::optional<QRect> ParseFramePosition(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    qint64 fields[4] = {};
    for (int i = 0; i < 4; ++i) {
        const qsizetype offset = kFieldOffsets[i];
        fields[i] = offset < text.size() ? readInteger(text, offset) : 0;
        if (fields[i] < -kCoordinateLimit || fields[i] > kCoordinateLimit)
            return std::nullopt;
    }
    const qint64 width = fields[2] - fields[0];
    const qint64 height = fields[3] - fields[1];
    if (width <= 0 || height <= 0)
        return std::nullopt;
    return QRect(static_cast<int>(fields[0]), static_cast<int>(fields[1]), static_cast<int>(width),
                 static_cast<int>(height));
}

QRect FitOntoScreens(const QRect &rect, const QList<QRect> &screens, const QRect &primaryAvailable)
{
    for (const QRect &screen : screens) {
        if (screen.intersects(rect))
            return rect;
    }
    if (primaryAvailable.isEmpty())
        return rect;
    return QRect(primaryAvailable.topLeft(), rect.size().boundedTo(primaryAvailable.size()));
}
