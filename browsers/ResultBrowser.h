#pragma once

#include <QString>

#include <condition_variable>
#include <mutex>

#include "browsers/WebBrowser2.h"

// The query URL of a search: every "*" of `urlTemplate` replaced by
// `keywords`, left to right, the inserted text never scanned again; a
// template without "*" comes back unchanged. Where a "*" stands in the query
// or fragment part (after the first "?" or "#"), the characters of the
// keywords that would change the structure of that part ("%", "&", "#", "+"
// and ";") are percent-encoded, so the engine receives the words the user
// typed; spaces and non-ASCII letters stay as typed and are encoded by the
// browser. Elsewhere (a template that is only "*", a "*" in the host or
// path) the keywords are inserted as typed.
QString BuildQueryUrl(const QString &urlTemplate, const QString &keywords);

// One result page: the browser of one engine index. It knows its engine's
// query template and the keywords of the current search and turns them
// into a navigation.
//
// Threads: the texts are guarded by the page's own lock, so a worker never
// sees them half written. A search's worker (QueryThreadProc) only copies
// them, builds the URL and hands the navigation to the user-interface
// thread, where every navigation of the page happens; each search is tagged
// with a generation, and a query whose search was overtaken by a later
// search or navigation of the page is dropped, so an older query never
// lands after a newer blanking or query. Destroying the page waits for its
// workers, which never wait for anything themselves.
class CResultBrowser final : public CWebBrowser2
{
    Q_OBJECT

public:
    static constexpr int MaxQueryTemplateLength = 511;
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
    // the middle of a surrogate pair).
    void SetQueryTemplate(const QString &urlTemplate);
    QString QueryTemplate() const;
    void SetKeywords(const QString &keywords);
    QString Keywords() const;

    // User-interface thread: stops the page if it is busy, then navigates.
    // Cancels any query of a search that has not landed yet.
    void NavigateTo(const QString &url);

    // Worker thread: builds the query URL of the search started last by
    // StartQueryThread and hands its navigation to the user-interface
    // thread. Does nothing when that search was already served or was
    // overtaken. Returns 0.
    quint32 NavigateQuery();

    // Entry of a search's worker thread; `param` is the page. A null
    // parameter gives 1 and touches nothing; otherwise NavigateQuery's result.
    static quint32 QueryThreadProc(void *param);

    // User-interface thread: starts a search of this page with its current
    // keywords on a new worker thread (which runs QueryThreadProc) and
    // returns at once; false if no thread could be started.
    bool StartQueryThread();

    // How many workers are still running for this page.
    int RunningWorkers() const;

private:
    // Runs on the user-interface thread: navigates to the query that the
    // worker of the current search left behind, if it is still current.
    Q_INVOKABLE void DeliverQuery();
    void Navigate(const QString &url);
    void WorkerFinished();

    mutable std::mutex m_mutex;
    std::condition_variable m_workersDone;
    QString m_szQueryTemplate;
    QString m_szKeywords;
    // Raised by every search and by every direct navigation of the page.
    quint64 m_nGeneration = 0;
    // Generation of the search whose query no worker has taken yet; 0: none.
    quint64 m_nArmedGeneration = 0;
    // The query handed to the user-interface thread and its generation.
    QString m_szPendingUrl;
    quint64 m_nPendingGeneration = 0;
    int m_nWorkers = 0;
};
