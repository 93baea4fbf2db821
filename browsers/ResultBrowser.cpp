#include "browsers/ResultBrowser.h"

#include <QThreadPool>

#include "catalogue/TextCut.h"

namespace {

void AppendEscaped(QString &out, char16_t ch)
{
    static constexpr char16_t hex[] = u"0123456789ABCDEF";
    out += u'%';
    out += QChar(hex[(ch >> 4) & 0xF]);
    out += QChar(hex[ch & 0xF]);
}

// Characters that would change the structure of a URL's query or fragment
// if they came from the keywords unencoded: "%" starts an escape, "&" and
// ";" separate parameters, "#" starts the fragment, "+" reads as a space.
bool BreaksQuery(char16_t ch)
{
    return ch == u'%' || ch == u'&' || ch == u'#' || ch == u'+' || ch == u';';
}

// Characters that would end a path segment, start the query or fragment,
// start an escape, read as a separator ("\" in web addresses) or be
// dropped by the browser (control characters).
bool BreaksPathSegment(char16_t ch)
{
    return ch == u'/' || ch == u'?' || ch == u'#' || ch == u'%' || ch == u'\\' || ch < 0x20 || ch == 0x7F;
}

QString Escape(const QString &keywords, bool (*breaks)(char16_t))
{
    QString escaped;
    escaped.reserve(keywords.size());
    for (const QChar ch : keywords) {
        if (breaks(ch.unicode()))
            AppendEscaped(escaped, ch.unicode());
        else
            escaped += ch;
    }
    return escaped;
}

// Where the query or fragment of a template starts: its first "?" or "#";
// the template's size when it has neither.
qsizetype QueryStart(const QString &urlTemplate)
{
    for (qsizetype i = 0; i < urlTemplate.size(); ++i) {
        if (urlTemplate.at(i) == u'?' || urlTemplate.at(i) == u'#')
            return i;
    }
    return urlTemplate.size();
}

// Where the path of a template starts: the first "/" after
// "scheme://authority", or the first "/" of a template without an
// authority; `queryStart` when there is no path before the query.
qsizetype PathStart(const QString &urlTemplate, qsizetype queryStart)
{
    const qsizetype authority = urlTemplate.indexOf(u"://");
    const qsizetype from = authority >= 0 && authority < queryStart ? authority + 3 : 0;
    const qsizetype slash = urlTemplate.indexOf(u'/', from);
    return slash >= 0 && slash < queryStart ? slash : queryStart;
}

} // namespace

QString BuildQueryUrl(const QString &urlTemplate, const QString &keywords)
{
    const qsizetype queryStart = QueryStart(urlTemplate);
    const qsizetype pathStart = PathStart(urlTemplate, queryStart);
    // Each form of the keywords is made once, and only if a "*" needs it.
    QString inPath;
    QString inQuery;
    QString url;
    url.reserve(urlTemplate.size() + keywords.size());
    for (qsizetype i = 0; i < urlTemplate.size(); ++i) {
        const QChar ch = urlTemplate.at(i);
        if (ch != u'*') {
            url += ch;
        } else if (i > queryStart) {
            if (inQuery.isNull())
                inQuery = Escape(keywords, BreaksQuery);
            url += inQuery;
        } else if (i > pathStart) {
            if (inPath.isNull())
                inPath = Escape(keywords, BreaksPathSegment);
            url += inPath;
        } else {
            url += keywords;
        }
    }
    return url;
}

CResultBrowser::CResultBrowser(QWidget *parent)
    : CWebBrowser2(parent)
{
    // The connection is made here, on the user-interface thread, so a worker
    // only posts the call; the page's thread runs it.
    connect(this, &CResultBrowser::QueryReady, this, &CResultBrowser::DeliverQuery, Qt::QueuedConnection);
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
        DropQueryLocked();
    }
    Navigate(url);
}

void CResultBrowser::DropQueryLocked()
{
    ++m_nGeneration;
    m_nArmedGeneration = 0;
    m_nPendingGeneration = 0;
    m_szPendingUrl.clear();
    m_bQueryPending = false;
}

void CResultBrowser::CancelQuery()
{
    std::lock_guard lock(m_mutex);
    if (m_bQueryPending)
        DropQueryLocked();
}

bool CResultBrowser::IsQueryPending() const
{
    std::lock_guard lock(m_mutex);
    return m_bQueryPending;
}

void CResultBrowser::Navigate(const QString &url)
{
    if (GetBusy())
        Stop();
    Navigate2(url);
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
    emit QueryReady(QPrivateSignal());
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
        m_bQueryPending = false;
    }
    Navigate(url);
}

quint32 CResultBrowser::QueryThreadProc(void *param)
{
    if (!param)
        return 1;
    return static_cast<CResultBrowser *>(param)->NavigateQuery();
}

void CResultBrowser::StartQuery(QThreadPool &workers)
{
    {
        std::lock_guard lock(m_mutex);
        ++m_nGeneration;
        m_nArmedGeneration = m_nGeneration;
        m_nPendingGeneration = 0;
        m_szPendingUrl.clear();
        m_bQueryPending = true;
        ++m_nWorkers;
    }
    // The pool queues the worker when all its threads are taken; either way
    // the search goes on at once.
    workers.start([this] {
        QueryThreadProc(this);
        WorkerFinished();
    });
}

void CResultBrowser::WorkerFinished()
{
    // Notified under the lock: the destructor cannot return (and free the
    // lock) before this worker has let go of it.
    std::lock_guard lock(m_mutex);
    --m_nWorkers;
    m_workersDone.notify_all();
}
