#include "browsers/webengine/WebEngineBrowserControl.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <algorithm>
#include <array>

namespace {

// Text sizes of the five levels, smallest to largest; level 2 is normal.
constexpr std::array<qreal, 5> ZoomFactors = {0.6, 0.8, 1.0, 1.25, 1.5};

// While busy, the engine's own loading state is checked this often.
constexpr int SettleIntervalMs = 200;
// Ticks without loading after which busy ends: longer while the start of
// the navigation has not been reported yet (the engine starts loads
// asynchronously and may be slow to do so under load), short afterwards.
constexpr int IdleTicksBeforeStart = 10;
constexpr int IdleTicksAfterStart = 2;

} // namespace

CWebEngineBrowserControl::CWebEngineBrowserControl(QWidget *parent)
    : m_view(new QWebEngineView(parent))
    , m_settleTimer(new QTimer(this))
{
    m_settleTimer->setInterval(SettleIntervalMs);
    connect(m_settleTimer, &QTimer::timeout, this, &CWebEngineBrowserControl::OnSettleTick);
    QWebEnginePage *page = m_view->page();
    connect(page, &QWebEnginePage::loadStarted, this, &CWebEngineBrowserControl::OnLoadStarted);
    connect(page, &QWebEnginePage::loadFinished, this, &CWebEngineBrowserControl::OnLoadFinished);
}

CWebEngineBrowserControl::~CWebEngineBrowserControl()
{
    if (m_view) {
        disconnect(m_view->page(), nullptr, this, nullptr);
        delete m_view.data();
    }
}

QWidget *CWebEngineBrowserControl::Widget()
{
    return m_view.data();
}

QUrl CWebEngineBrowserControl::ToUrl(const QString &text)
{
    const QUrl url(text, QUrl::TolerantMode);
    // A scheme of one letter is a drive letter, not a scheme.
    if (url.isValid() && !url.isRelative() && url.scheme().size() > 1)
        return url;
    return QUrl::fromUserInput(text, QDir::currentPath(), QUrl::AssumeLocalFile);
}

void CWebEngineBrowserControl::Navigate(const QString &url)
{
    if (!m_view)
        return;
    SetBusy();
    m_startSeen = false;
    m_view->load(ToUrl(url));
}

void CWebEngineBrowserControl::Stop()
{
    if (!m_view)
        return;
    m_view->stop();
    m_busy = false;
    m_settleTimer->stop();
}

void CWebEngineBrowserControl::GoBack()
{
    if (m_view)
        m_view->back();
}

void CWebEngineBrowserControl::GoForward()
{
    if (m_view)
        m_view->forward();
}

void CWebEngineBrowserControl::Refresh()
{
    if (m_view)
        m_view->reload();
}

bool CWebEngineBrowserControl::Busy() const
{
    return m_busy;
}

QString CWebEngineBrowserControl::LocationURL() const
{
    const QUrl url = m_view ? m_view->url() : QUrl();
    return url.isEmpty() ? QStringLiteral("about:blank") : url.toString();
}

qreal CWebEngineBrowserControl::ZoomFactorForLevel(int level)
{
    return ZoomFactors[std::size_t(std::clamp(level, BROWSER_ZOOM_SMALLEST, BROWSER_ZOOM_LARGEST))];
}

void CWebEngineBrowserControl::SetZoomLevel(int level)
{
    m_zoomFactor = ZoomFactorForLevel(level);
    if (m_view)
        m_view->setZoomFactor(m_zoomFactor);
}

QWebEngineView *CWebEngineBrowserControl::View() const
{
    return m_view.data();
}

qreal CWebEngineBrowserControl::ZoomFactor() const
{
    return m_view ? m_view->zoomFactor() : m_zoomFactor;
}

void CWebEngineBrowserControl::SetBusy()
{
    m_busy = true;
    m_idleTicks = 0;
    m_settleTimer->start();
}

void CWebEngineBrowserControl::OnLoadStarted()
{
    // A second start of the same load changes nothing.
    SetBusy();
    m_startSeen = true;
}

void CWebEngineBrowserControl::OnLoadFinished()
{
    // The end of a load that another one has already replaced does not end
    // the busy state of its successor while the engine is still loading.
    if (m_view && m_view->page()->isLoading())
        return;
    m_busy = false;
    m_settleTimer->stop();
    // The engine may reset the zoom for a new document; keep the user's size.
    if (m_view && !qFuzzyCompare(m_view->zoomFactor(), m_zoomFactor))
        m_view->setZoomFactor(m_zoomFactor);
}

void CWebEngineBrowserControl::OnSettleTick()
{
    if (!m_busy || !m_view) {
        m_settleTimer->stop();
        return;
    }
    if (m_view->page()->isLoading()) {
        m_idleTicks = 0;
        m_startSeen = true;
        return;
    }
    if (++m_idleTicks >= (m_startSeen ? IdleTicksAfterStart : IdleTicksBeforeStart)) {
        m_busy = false;
        m_settleTimer->stop();
    }
}

std::unique_ptr<IBrowserControl> CreateWebEngineBrowserControl(QWidget *parent)
{
    // The engine needs a widget application and its shared default profile.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()) || !QWebEngineProfile::defaultProfile())
        return nullptr;
    return std::make_unique<CWebEngineBrowserControl>(parent);
}

std::unique_ptr<IBrowserControl> CWebEngineBrowserControlFactory::Create(QWidget *parent)
{
    return CreateWebEngineBrowserControl(parent);
}
