#include "tests/support/RecordingBrowserControl.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "browsers/ResultBrowser.h"

// Shared by a factory and every control it made, so either may go first.
struct RecordingBrowserLog
{
    QStringList lines;
    int created = 0;
    std::vector<CRecordingBrowserControl *> live;
};

CRecordingBrowserControl::CRecordingBrowserControl(QWidget *parent, std::shared_ptr<RecordingBrowserLog> log)
    : m_widget(new QWidget(parent))
    , m_parent(parent)
    , m_log(std::move(log))
{
    if (m_log)
        m_log->live.push_back(this);
}

CRecordingBrowserControl::~CRecordingBrowserControl()
{
    if (m_log)
        std::erase(m_log->live, this);
    delete m_widget.data();
}

QWidget *CRecordingBrowserControl::Widget()
{
    return m_widget.data();
}

void CRecordingBrowserControl::Record(const QString &call)
{
    m_calls.append(call);
    if (m_log)
        m_log->lines.append(QString::number(PageIndex()) + u": " + call);
}

void CRecordingBrowserControl::Navigate(const SBrowserRequest &request)
{
    if (request.method == EEngineMethod::Post)
        Record(u"Navigate POST " + request.url + u' ' + QString::fromLatin1(request.body));
    else
        Record(u"Navigate " + request.url);
    m_location = request.url;
    m_busy = true;
    if (m_observer)
        m_observer->OnLoadStarted(request.url);
}

void CRecordingBrowserControl::Stop()
{
    Record(QStringLiteral("Stop"));
    if (m_busy)
        Finish(EBrowserLoadOutcome::Stopped, 0, {});
}

void CRecordingBrowserControl::SetLoadObserver(IBrowserLoadObserver *observer)
{
    m_observer = observer;
}

void CRecordingBrowserControl::SetEngineName(const QString &name)
{
    m_engineName = name;
}

QString CRecordingBrowserControl::EngineName() const
{
    return m_engineName;
}

void CRecordingBrowserControl::ShowLoadFailure(const QString &reason)
{
    Record(u"ShowLoadFailure " + reason);
}

void CRecordingBrowserControl::Finish(EBrowserLoadOutcome outcome, int httpStatus, const QString &reason)
{
    // Only a load under way ends.
    const bool loading = std::exchange(m_busy, false);
    if (loading && m_observer)
        m_observer->OnLoadFinished({outcome, LocationURL(), httpStatus, reason});
}

void CRecordingBrowserControl::FindText(const QString &text, bool backward, FindCallback done)
{
    Record(u"FindText " + text + (backward ? QStringLiteral(" backward") : QString()));
    const int count = text.isEmpty() ? 0 : int(m_pageText.count(text, Qt::CaseInsensitive));
    if (count == 0)
        m_activeMatch = 0;
    else if (text.compare(m_findText, Qt::CaseInsensitive) != 0 || m_activeMatch == 0)
        m_activeMatch = backward ? count : 1;
    else
        m_activeMatch = (m_activeMatch - 1 + (backward ? count - 1 : 1)) % count + 1;
    m_findText = text;
    if (done)
        done({m_activeMatch, count});
}

void CRecordingBrowserControl::StopFinding()
{
    Record(QStringLiteral("StopFinding"));
    m_findText.clear();
    m_activeMatch = 0;
}

void CRecordingBrowserControl::SetPageText(const QString &text)
{
    m_pageText = text;
}

void CRecordingBrowserControl::GoBack()
{
    Record(QStringLiteral("GoBack"));
}

void CRecordingBrowserControl::GoForward()
{
    Record(QStringLiteral("GoForward"));
}

void CRecordingBrowserControl::Refresh()
{
    Record(QStringLiteral("Refresh"));
}

bool CRecordingBrowserControl::Busy() const
{
    return m_busy;
}

QString CRecordingBrowserControl::LocationURL() const
{
    return m_location.isEmpty() ? QStringLiteral("about:blank") : m_location;
}

void CRecordingBrowserControl::SetZoomLevel(int level)
{
    Record(u"SetZoomLevel " + QString::number(level));
    m_zoomLevel = level;
}

QStringList CRecordingBrowserControl::Calls() const
{
    return m_calls;
}

void CRecordingBrowserControl::ClearCalls()
{
    m_calls.clear();
}

QStringList CRecordingBrowserControl::Navigations() const
{
    QStringList urls;
    const QString prefix = QStringLiteral("Navigate ");
    for (const QString &call : m_calls) {
        if (call.startsWith(prefix))
            urls.append(call.mid(prefix.size()));
    }
    return urls;
}

void CRecordingBrowserControl::FinishNavigation(int httpStatus)
{
    Finish(EBrowserLoadOutcome::Loaded, httpStatus, {});
}

void CRecordingBrowserControl::FailNavigation(const QString &reason, int httpStatus)
{
    Finish(EBrowserLoadOutcome::Failed, httpStatus, reason);
}

void CRecordingBrowserControl::ReportProgress(int percent)
{
    if (m_observer && m_busy)
        m_observer->OnLoadProgress(percent);
}

void CRecordingBrowserControl::SetBusy(bool busy)
{
    m_busy = busy;
}

void CRecordingBrowserControl::FollowLink(const QString &url)
{
    m_location = url;
    m_busy = true;
    if (m_observer)
        m_observer->OnLoadStarted(url);
}

int CRecordingBrowserControl::ZoomLevel() const
{
    return m_zoomLevel;
}

int CRecordingBrowserControl::PageIndex() const
{
    const auto *page = qobject_cast<const CResultBrowser *>(m_parent.data());
    return page ? page->m_nEngine : -1;
}

CRecordingBrowserFactory::CRecordingBrowserFactory()
    : m_log(std::make_shared<RecordingBrowserLog>())
{
}

CRecordingBrowserFactory::~CRecordingBrowserFactory() = default;

std::unique_ptr<IBrowserControl> CRecordingBrowserFactory::Create(QWidget *parent)
{
    ++m_log->created;
    return std::make_unique<CRecordingBrowserControl>(parent, m_log);
}

void CRecordingBrowserFactory::Install()
{
    m_installed.reset();
    m_installed.emplace(*this);
}

QStringList CRecordingBrowserFactory::Log() const
{
    return m_log->lines;
}

void CRecordingBrowserFactory::ClearLog()
{
    m_log->lines.clear();
}

QStringList CRecordingBrowserFactory::NavigationLog() const
{
    QStringList lines;
    for (const QString &line : m_log->lines) {
        if (line.contains(u": Navigate "))
            lines.append(line);
    }
    return lines;
}

int CRecordingBrowserFactory::CreatedCount() const
{
    return m_log->created;
}

CRecordingBrowserControl *CRecordingBrowserFactory::Control(int pageIndex) const
{
    for (auto it = m_log->live.rbegin(); it != m_log->live.rend(); ++it) {
        if ((*it)->PageIndex() == pageIndex)
            return *it;
    }
    return nullptr;
}

