#include "browsers/ResultBrowser.h"

#include <QThreadPool>

#include <utility>

#include "catalogue/EngineEncoding.h"
#include "catalogue/TextCut.h"

namespace {

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

// A form body's fixed text: ASCII as written, anything else in the
// engine's charset, percent-encoded.
QByteArray FixedFormText(const QString &text, const QString &encoding)
{
    QByteArray out;
    for (const char c : EncodeText(text, encoding)) {
        if (static_cast<unsigned char>(c) <= 0x7F)
            out += c;
        else
            out += '%' + QByteArray::number(static_cast<unsigned char>(c), 16).toUpper();
    }
    return out;
}

} // namespace

QString BuildQueryUrl(const QString &urlTemplate, const QString &keywords, const QString &encoding)
{
    const qsizetype queryStart = QueryStart(urlTemplate);
    const qsizetype pathStart = PathStart(urlTemplate, queryStart);
    // The keywords are converted once, and each form of them made once,
    // only if a "*" needs it.
    const bool utf8 = IsUtf8Encoding(encoding);
    QByteArray bytes;
    const auto converted = [&]() -> const QByteArray & {
        if (bytes.isNull())
            bytes = EncodeText(keywords, encoding);
        return bytes;
    };
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
                inQuery = EscapeKeywordsForQuery(converted(), utf8);
            url += inQuery;
        } else if (i > pathStart) {
            if (inPath.isNull())
                inPath = EscapeKeywordsForPath(converted(), utf8);
            url += inPath;
        } else {
            url += keywords;
        }
    }
    return url;
}

QByteArray BuildPostData(const QString &postTemplate, const QString &keywords, const QString &encoding)
{
    const QByteArray field = EscapeKeywordsForForm(EncodeText(keywords, encoding));
    const QStringList fixed = postTemplate.split(u'*');
    QByteArray body = FixedFormText(fixed.constFirst(), encoding);
    for (qsizetype i = 1; i < fixed.size(); ++i)
        body += field + FixedFormText(fixed.at(i), encoding);
    return body;
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

void CResultBrowser::SetQueryTemplate(const QString &urlTemplate, const QString &encoding, EEngineMethod method,
                                      const QString &postTemplate)
{
    QString cut = CutToLength(urlTemplate, MaxQueryTemplateLength);
    QString canonical = encoding.isEmpty() ? QString() : CanonicalEncodingName(encoding);
    QString postCut = CutToLength(postTemplate, MaxPostTemplateLength);
    std::lock_guard lock(m_mutex);
    m_szQueryTemplate = std::move(cut);
    m_szQueryEncoding = std::move(canonical);
    m_eQueryMethod = method;
    m_szPostTemplate = std::move(postCut);
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
    m_pendingQuery = {};
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

void CResultBrowser::Navigate(const SBrowserRequest &request)
{
    if (GetBusy())
        Stop();
    Navigate2(request);
}

quint32 CResultBrowser::NavigateQuery()
{
    quint64 generation = 0;
    QString keywords;
    QString urlTemplate;
    QString encoding;
    EEngineMethod method = EEngineMethod::Get;
    QString postTemplate;
    {
        std::lock_guard lock(m_mutex);
        if (m_nArmedGeneration == 0 || m_nArmedGeneration != m_nGeneration)
            return 0;
        generation = m_nArmedGeneration;
        m_nArmedGeneration = 0;
        keywords = m_szKeywords;
        urlTemplate = m_szQueryTemplate;
        encoding = m_szQueryEncoding;
        method = m_eQueryMethod;
        postTemplate = m_szPostTemplate;
    }

    SBrowserRequest query(BuildQueryUrl(urlTemplate, keywords, encoding));
    if (method == EEngineMethod::Post)
        query = {query.url, method, BuildPostData(postTemplate, keywords, encoding)};
    {
        std::lock_guard lock(m_mutex);
        if (generation != m_nGeneration)
            return 0;
        m_pendingQuery = std::move(query);
        m_nPendingGeneration = generation;
    }
    // The browser lives on the user-interface thread: the navigation is made
    // there. Deleting the page drops the call if it has not run yet.
    emit QueryReady(QPrivateSignal());
    return 0;
}

void CResultBrowser::DeliverQuery()
{
    SBrowserRequest query;
    {
        std::lock_guard lock(m_mutex);
        if (m_nPendingGeneration == 0 || m_nPendingGeneration != m_nGeneration)
            return;
        query = std::exchange(m_pendingQuery, {});
        m_nPendingGeneration = 0;
        m_bQueryPending = false;
    }
    Navigate(query);
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
        m_pendingQuery = {};
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
