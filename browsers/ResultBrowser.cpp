#include "browsers/ResultBrowser.h"

#include <QMetaObject>

#include <system_error>
#include <thread>

namespace {

// Characters that would change the structure of a URL's query or fragment
// if they came from the keywords unencoded: "%" starts an escape, "&" and
// ";" separate parameters, "#" starts the fragment, "+" reads as a space.
QString EscapeForQuery(const QString &keywords)
{
    QString escaped;
    escaped.reserve(keywords.size());
    for (const QChar ch : keywords) {
        switch (ch.unicode()) {
        case u'%': escaped += u"%25"; break;
        case u'&': escaped += u"%26"; break;
        case u'#': escaped += u"%23"; break;
        case u'+': escaped += u"%2B"; break;
        case u';': escaped += u"%3B"; break;
        default: escaped += ch; break;
        }
    }
    return escaped;
}

// `text` cut to `maxLength` characters without splitting a surrogate pair.
QString CutToLength(const QString &text, qsizetype maxLength)
{
    if (text.size() <= maxLength)
        return text;
    qsizetype length = maxLength;
    if (length > 0 && text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

} // namespace

QString BuildQueryUrl(const QString &urlTemplate, const QString &keywords)
{
    // Everything from the first "?" or "#" on is query or fragment.
    qsizetype queryStart = -1;
    for (qsizetype i = 0; i < urlTemplate.size(); ++i) {
        if (urlTemplate.at(i) == u'?' || urlTemplate.at(i) == u'#') {
            queryStart = i;
            break;
        }
    }

    QString escaped;
    if (queryStart >= 0 && urlTemplate.indexOf(u'*', queryStart) >= 0)
        escaped = EscapeForQuery(keywords);

    QString url;
    url.reserve(urlTemplate.size() + keywords.size());
    for (qsizetype i = 0; i < urlTemplate.size(); ++i) {
        const QChar ch = urlTemplate.at(i);
        if (ch != u'*')
            url += ch;
        else if (queryStart >= 0 && i > queryStart)
            url += escaped;
        else
            url += keywords;
    }
    return url;
}

CResultBrowser::CResultBrowser(QWidget *parent)
    : CWebBrowser2(parent)
{
}

CResultBrowser::~CResultBrowser()
{
    // Workers only copy texts and post; they never wait, so this is short.
    std::unique_lock lock(m_mutex);
    m_workersDone.wait(lock, [this] { return m_nWorkers == 0; });
}

void CResultBrowser::SetQueryTemplate(const QString &urlTemplate)
{
    QString cut = CutToLength(urlTemplate, MaxQueryTemplateLength);
    std::lock_guard lock(m_mutex);
    m_szQueryTemplate = std::move(cut);
}

QString CResultBrowser::QueryTemplate() const
{
    std::lock_guard lock(m_mutex);
    return m_szQueryTemplate;
}

void CResultBrowser::SetKeywords(const QString &keywords)
{
    QString cut = CutToLength(keywords, MaxKeywordsLength);
    std::lock_guard lock(m_mutex);
    m_szKeywords = std::move(cut);
}

QString CResultBrowser::Keywords() const
{
    std::lock_guard lock(m_mutex);
    return m_szKeywords;
}

void CResultBrowser::NavigateTo(const QString &url)
{
    {
        // A direct navigation overtakes every search still on its way.
        std::lock_guard lock(m_mutex);
        ++m_nGeneration;
        m_nArmedGeneration = 0;
        m_nPendingGeneration = 0;
        m_szPendingUrl.clear();
    }
    Navigate(url);
}

void CResultBrowser::Navigate(const QString &url)
{
    if (GetBusy())
        Stop();
    try {
        Navigate2(url);
    } catch (...) {
        // A navigation that fails leaves the page as it was; nothing to report.
    }
}

quint32 CResultBrowser::NavigateQuery()
{
    quint64 generation = 0;
    QString keywords;
    QString urlTemplate;
    {
        std::lock_guard lock(m_mutex);
        if (m_nArmedGeneration == 0 || m_nArmedGeneration != m_nGeneration)
            return 0;
        generation = m_nArmedGeneration;
        m_nArmedGeneration = 0;
        keywords = m_szKeywords;
        urlTemplate = m_szQueryTemplate;
    }

    const QString url = BuildQueryUrl(urlTemplate, keywords);
    {
        std::lock_guard lock(m_mutex);
        if (generation != m_nGeneration)
            return 0;
        m_szPendingUrl = url;
        m_nPendingGeneration = generation;
    }
    // The browser lives on the user-interface thread: the navigation is made
    // there. Deleting the page drops the call if it has not run yet.
    QMetaObject::invokeMethod(this, "DeliverQuery", Qt::QueuedConnection);
    return 0;
}

void CResultBrowser::DeliverQuery()
{
    QString url;
    {
        std::lock_guard lock(m_mutex);
        if (m_nPendingGeneration == 0 || m_nPendingGeneration != m_nGeneration)
            return;
        url = m_szPendingUrl;
        m_szPendingUrl.clear();
        m_nPendingGeneration = 0;
    }
    Navigate(url);
}

quint32 CResultBrowser::QueryThreadProc(void *param)
{
    if (!param)
        return 1;
    return static_cast<CResultBrowser *>(param)->NavigateQuery();
}

bool CResultBrowser::StartQueryThread()
{
    {
        std::lock_guard lock(m_mutex);
        ++m_nGeneration;
        m_nArmedGeneration = m_nGeneration;
        m_nPendingGeneration = 0;
        m_szPendingUrl.clear();
        ++m_nWorkers;
    }
    try {
        std::thread([this] {
            QueryThreadProc(this);
            WorkerFinished();
        }).detach();
        return true;
    } catch (const std::system_error &) {
        std::lock_guard lock(m_mutex);
        m_nArmedGeneration = 0;
        --m_nWorkers;
        m_workersDone.notify_all();
        return false;
    }
}

void CResultBrowser::WorkerFinished()
{
    // Notified under the lock: the destructor cannot return (and free the
    // lock) before this worker has let go of it.
    std::lock_guard lock(m_mutex);
    --m_nWorkers;
    m_workersDone.notify_all();
}

int CResultBrowser::RunningWorkers() const
{
    std::lock_guard lock(m_mutex);
    return m_nWorkers;
}
