#pragma once

#include <QString>

#include <condition_variable>
#include <mutex>

#include "browsers/WebBrowser2.h"

class QThreadPool;

// The query URL of a search: every "*" of `urlTemplate` replaced by
// `keywords`, left to right, the inserted text never scanned again; a
// template without "*" comes back unchanged. The keywords are converted to
// the engine's charset `encoding` (empty: UTF-8; one that cannot be sent
// gives UTF-8), a character it cannot hold sent as "&#N;", and encoded only
// where they would otherwise change the structure of the URL:
// - in the path (a "*" after the authority and before the first "?" or
//   "#"), they stay one path segment: "/", "?", "#", "%", "\" and control
//   characters are percent-encoded;
// - in the query or fragment (after the first "?" or "#"), "%", "&", "#",
//   "+" and ";" are percent-encoded, so the engine receives the words the
//   user typed.
// In UTF-8, spaces and non-ASCII letters stay as typed and are encoded by
// the browser; in other charsets every byte above 0x7F is percent-encoded.
// A "*" in the scheme or authority, or in a template that is only "*",
// takes the keywords as typed.
QString BuildQueryUrl(const QString &urlTemplate, const QString &keywords, const QString &encoding = QString());

// The form body of a POST search: every "*" of `postTemplate` replaced by
// `keywords` in charset `encoding`, escaped as a form field's value. The
// template's fixed text is sent as written, but for characters beyond ASCII,
// which are sent in that charset, percent-encoded.
QByteArray BuildPostData(const QString &postTemplate, const QString &keywords, const QString &encoding = QString());

class CResultBrowser final : public CWebBrowser2
{
    Q_OBJECT

public:
    static constexpr int MaxQueryTemplateLength = 511;
    static constexpr int MaxPostTemplateLength = 511;
    static constexpr int MaxKeywordsLength = 259;

    explicit CResultBrowser(QWidget *parent = nullptr);
    ~CResultBrowser() override;
    Q_DISABLE_COPY_MOVE(CResultBrowser)

    // Engine index under which the pool keeps the page; -1 until then.
    int m_nEngine = -1;
    // The page belongs to an engine of the category loaded. User-interface
    // thread only.
    bool m_bActive = false;

    // Thread-safe. Longer texts are cut to 511 and 259 characters (never in
    // the middle of a surrogate pair). With the template comes how the
    // engine takes its keywords: the charset (empty: UTF-8), the method and,
    // for POST, the template of the form body.
    void SetQueryTemplate(const QString &urlTemplate, const QString &encoding = QString(),
                          EEngineMethod method = EEngineMethod::Get, const QString &postTemplate = QString());
    QString QueryTemplate() const;
    void SetKeywords(const QString &keywords);
    QString Keywords() const;

    // User-interface thread: stops the page if it is busy, then navigates.
    // Cancels any query of a search that has not landed yet.
    void NavigateTo(const QString &url);

    // Worker thread: builds the query URL of the search started last by
    // StartQuery and hands its navigation to the user-interface thread. Does
    // nothing when that search was already served, overtaken or cancelled.
    // Returns 0.
    quint32 NavigateQuery();

    // Entry of a search's worker; `param` is the page. A null parameter
    // gives 1 and touches nothing; otherwise NavigateQuery's result.
    static quint32 QueryThreadProc(void *param);

    // User-interface thread: starts a search of this page with its current
    // keywords on a worker of `workers` (which runs QueryThreadProc) and
    // returns at once.
    void StartQuery(QThreadPool &workers);

    // User-interface thread: a search's query has been started but its
    // navigation has not been made yet.
    bool IsQueryPending() const;
    // User-interface thread: drops the query of a search that has not
    // navigated yet; the page stays as it is.
    void CancelQuery();

signals:
    // Emitted by a worker once it has left its query behind; connected,
    // queued, to DeliverQuery.
    void QueryReady(QPrivateSignal);

private:
    // Runs on the user-interface thread: navigates to the query that the
    // worker of the current search left behind, if it is still current.
    void DeliverQuery();
    void Navigate(const SBrowserRequest &request);
    void WorkerFinished();
    // With the lock held: no query of an earlier search may navigate any more.
    void DropQueryLocked();

    mutable std::mutex m_mutex;
    std::condition_variable m_workersDone;
    QString m_szQueryTemplate;
    // The charset by its canonical name; empty for UTF-8.
    QString m_szQueryEncoding;
    EEngineMethod m_eQueryMethod = EEngineMethod::Get;
    QString m_szPostTemplate;
    QString m_szKeywords;
    // Raised by every search and by every direct navigation of the page.
    quint64 m_nGeneration = 0;
    // Generation of the search whose query no worker has taken yet; 0: none.
    quint64 m_nArmedGeneration = 0;
    // The query handed to the user-interface thread and its generation.
    SBrowserRequest m_pendingQuery;
    quint64 m_nPendingGeneration = 0;
    // A search has started and its navigation has not been made yet.
    bool m_bQueryPending = false;
    int m_nWorkers = 0;
};
