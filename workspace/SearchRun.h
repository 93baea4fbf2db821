#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QTimer>

class CAnimateCtrl;
class CResultBrowserMap;
class QRect;
class QWidget;

// The running search and its progress monitor.
//
// A search blanks every active page and hands the keywords to the pool,
// which starts one worker per page; nothing here waits for an engine. Every
// 2000 ms the monitor asks the pool whether any active page is busy. While one is, the busy animation plays; on a look
// that finds none busy the animation stops at its first frame and Idle is
// emitted. A page that ends its load asks for the same look at once
// (CheckSoon), so the end of a search is seen without waiting for the tick,
// which stays as a safety net. Any navigation of an active page counts, not only a search's, so
// a link followed in a page plays the animation as well.
class CSearchRun final : public QObject
{
    Q_OBJECT

public:
    explicit CSearchRun(CResultBrowserMap &browsers, QObject *parent = nullptr);
    ~CSearchRun() override;
    Q_DISABLE_COPY_MOVE(CSearchRun)

    // The busy animation; it may come and go with the view's initial update.
    void SetAnimateCtrl(CAnimateCtrl *animate);
    // Makes the busy animation of `form` at `rect` the first time, opens its
    // clip afresh every time, and takes it as the animation.
    CAnimateCtrl *OpenAnimateCtrl(QWidget *form, const QRect &rect);

    // Starts searching `keywords` (trimmed, not empty): the animation plays,
    // every active page is blanked and then queried, except the pages of
    // the engine indexes in `notAsked`.
    void Start(const QString &keywords, const QSet<int> &notAsked = {});
    // Stops every busy active page and the animation.
    void Stop();
    // One look at the pages, as the monitor takes at every tick.
    void CheckProgress();
    // The same look, taken once the current event has been handled; any
    // number of requests before then make one look.
    void CheckSoon();

    void StartMonitor();
    void StopMonitor();
    bool IsMonitorActive() const;

    bool IsSearching() const;
    bool IsAnimating() const;
    // The keywords of the last search.
    QString Keywords() const;

signals:
    // A look at the pages was taken; what the page commands may do can have
    // changed with it.
    void ProgressChecked();
    // A look found no active page busy: the search, if one ran, is over.
    void Idle();

private:
    void PlayAnimation();
    void StopAnimation();

    CResultBrowserMap &m_browsers;
    QPointer<CAnimateCtrl> m_ctlAnimate;
    int m_bSearching = 0;
    int m_bAnimating = 0;
    QString m_strKeywords;
    QTimer m_timer;
    bool m_bCheckDue = false;
};
