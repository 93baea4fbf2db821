#pragma once

#include <QList>
#include <QPointer>
#include <QRect>
#include <QSet>
#include <QString>

#include <array>
#include <memory>
#include <vector>

#include "browsers/ResultBrowser.h"

class QThreadPool;
class QWidget;

// Owns every result page of the search view, at most one per engine index,
// and acts on all of them together. All operations run on the
// user-interface thread.
//
// The workers of a search run on a thread pool: one the map owns, or one
// handed to the constructor. Either way no worker of a page outlives the
// page, and the map's own pool ends its threads when the map is destroyed.
//
// Pages are kept in a hash map whose walk order is part of the behaviour:
// 17 buckets, index k in bucket ((unsigned)k >> 4) % 17, a new entry at the
// head of its bucket's chain, buckets walked 0 to 16. Pages 0..19 created in
// ascending order are walked 15..0, then 19..16.
class CResultBrowserMap final
{
public:
    static constexpr unsigned BucketCount = 17;

    // Workers run on a thread pool of the map's own.
    CResultBrowserMap();
    // Workers run on `workers`, which must outlive the map.
    explicit CResultBrowserMap(QThreadPool &workers);
    ~CResultBrowserMap();
    Q_DISABLE_COPY_MOVE(CResultBrowserMap)

    // Parent of every page created afterwards.
    void SetParentWnd(QWidget *parent);

    // A new page with its control, or null (after the message "failed to
    // create browser\n") when the control could not be created.
    CResultBrowser *CreateBrowser(int index);
    // The page of `index`, created on first use; null if its creation
    // failed, then and on every later call, without a new attempt.
    CResultBrowser *GetBrowser(int index);

    // Copies the keywords into every active page and starts one worker per
    // active page, in walk order, under the wait cursor; does not wait for
    // any worker or page. Pages whose index is in `notAsked` (engines the
    // user left out) get neither keywords nor a worker.
    void SearchAll(const QString &keywords, const QSet<int> &notAsked = {});
    // Cancels the query that every active page has not navigated to yet,
    // and stops every active page that is busy.
    void StopAll();
    // Navigates every active page to "about:blank".
    void BlankAll();
    // Empties, deactivates and blanks every active page.
    void DeactivateAll();
    // Gives every page, active or not, the rectangle `rect` (in the
    // parent's client coordinates), keeping the stacking order.
    void MoveAll(const QRect &rect);
    // True when an active page is busy or has a query on its way.
    bool IsAnyBusy() const;

    // The pages in walk order (entries without a page skipped).
    QList<CResultBrowser *> Pages() const;

private:
    struct Entry
    {
        Entry *next = nullptr;
        unsigned bucket = 0;
        int key = 0;
        QPointer<CResultBrowser> page;
    };
    static constexpr int EntriesPerBlock = 10;

    static unsigned BucketOf(int index);
    Entry *Find(int index) const;
    Entry *NewEntry();
    template <typename Visit>
    void Walk(Visit visit) const;

    // Allocated, all empty, at the first insertion.
    std::unique_ptr<std::array<Entry *, BucketCount>> m_buckets;
    std::vector<std::unique_ptr<Entry[]>> m_blocks;
    int m_usedInLastBlock = EntriesPerBlock;
    QPointer<QWidget> m_pParentWnd;
    // Null when the workers run on a pool handed to the constructor.
    std::unique_ptr<QThreadPool> m_ownWorkers;
    QThreadPool *m_workers;
};
