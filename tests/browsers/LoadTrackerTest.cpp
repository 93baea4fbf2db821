#include <QCoreApplication>
#include <QStringList>

#include <functional>

#include "browsers/LoadTracker.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Driven by the notification sequences the browser engine produces, misfires included.

namespace
{
const QUrl kFirst(u"http://a.test/1"_s);
const QUrl kSecond(u"http://a.test/2"_s);

struct FakeEngine final : ILoadingEngine
{
    bool IsLoading() const override
    {
        ++asked;
        return loading;
    }
    QUrl Url() const override { return url; }

    bool loading = false;
    QUrl url;
    mutable int asked = 0;
};

struct RecordingObserver final : IBrowserLoadObserver
{
    void OnLoadStarted(const QString &url) override { log.append(u"started " + url); }
    void OnLoadProgress(int percent) override { log.append(u"progress " + QString::number(percent)); }
    void OnLoadFinished(const SBrowserLoadResult &result) override
    {
        static const char *const outcomes[] = {"Loaded", "Failed", "Stopped"};
        QString line = u"finished " + QLatin1StringView(outcomes[int(result.outcome)]) + u' ' + result.url;
        if (result.httpStatus)
            line += u' ' + QString::number(result.httpStatus);
        if (!result.reason.isEmpty())
            line += u' ' + result.reason;
        log.append(line);
    }

    QStringList log;
};

struct Tracked
{
    Tracked() { tracker.SetObserver(&observer); }

    // The engine's notifications of a load of `url` that it starts and is
    // loading.
    void EngineStarts(const QUrl &url)
    {
        engine.loading = true;
        engine.url = url;
        tracker.OnEngineStarted();
        tracker.OnEngineLoadingStarted(url);
    }
    // The plain end, then the detailed one, as the engine sends them.
    void EngineEnds(EBrowserLoadOutcome outcome, const QUrl &url, int httpStatus = 0)
    {
        engine.loading = false;
        tracker.OnEngineFinished(outcome == EBrowserLoadOutcome::Loaded);
        tracker.OnEngineEnded({outcome, url.toString(), httpStatus, {}});
    }
    // Every notification the engine has queued is delivered.
    QStringList Settled()
    {
        QCoreApplication::processEvents();
        return observer.log;
    }

    FakeEngine engine;
    RecordingObserver observer;
    CLoadTracker tracker{engine, 1};
};

struct Sequence
{
    const char *name;
    std::function<void(Tracked &)> run;
    QString log; // the observer's lines, '|' between them
};
} // namespace

TEST(LoadTracker, EverySequenceEndsBusyAndReportsEachLoadOnce)
{
    const Sequence sequences[] = {
        {"LoadedWithItsStatus", [](Tracked &t) {
             t.tracker.Navigate(kFirst);
             EXPECT_TRUE(t.tracker.Busy());
             t.EngineStarts(kFirst);
             t.tracker.OnEngineProgress(40);
             t.EngineEnds(EBrowserLoadOutcome::Loaded, kFirst, 200);
         },
         u"started http://a.test/1|progress 40|finished Loaded http://a.test/1 200"_s},
        {"AnEndOfTheAddressAwaitedWithoutItsStartEndsIt", [](Tracked &t) {
             // As the first load after a renderer died.
             t.tracker.Navigate(kFirst);
             t.EngineEnds(EBrowserLoadOutcome::Loaded, kFirst, 200);
         },
         u"started http://a.test/1|finished Loaded http://a.test/1 200"_s},
        {"WithoutADetailedEndTheFinishFollowsOneRoundLater", [](Tracked &t) {
             t.tracker.Navigate(kFirst);
             t.EngineStarts(kFirst);
             t.engine.loading = false;
             t.tracker.OnEngineFinished(false);
         },
         u"started http://a.test/1|finished Failed http://a.test/1 The page could not be loaded."_s},
        {"AReplacedLoadReportsNoFinishAndDoesNotEndItsSuccessor", [](Tracked &t) {
             t.tracker.Navigate(kFirst);
             t.EngineStarts(kFirst);
             t.tracker.Navigate(kSecond);
             // The engine reports no start of the second load; only its
             // loading state tells of it.
             ASSERT_TRUE(WaitUntil([&t] { return t.engine.asked > 0; }, 5000));
             // The first load's end arrives while the engine loads the second.
             t.tracker.OnEngineFinished(false);
             EXPECT_FALSE(t.tracker.OnEngineEnded({EBrowserLoadOutcome::Stopped, kFirst.toString(), 0, {}}));
             EXPECT_TRUE(t.tracker.Busy());
             t.EngineEnds(EBrowserLoadOutcome::Loaded, kSecond, 200);
         },
         u"started http://a.test/1|started http://a.test/2|finished Loaded http://a.test/2 200"_s},
        {"StopEndsAtOnceAndTheEnginesLateEndTellsNothing", [](Tracked &t) {
             t.tracker.Navigate(kFirst);
             t.EngineStarts(kFirst);
             t.tracker.Stop();
             EXPECT_FALSE(t.tracker.Busy());
             t.EngineEnds(EBrowserLoadOutcome::Stopped, kFirst);
         },
         u"started http://a.test/1|finished Stopped http://a.test/1"_s},
        {"ALoadThePageStartsItselfIsReported", [](Tracked &t) {
             t.EngineStarts(kSecond);
             EXPECT_TRUE(t.tracker.Busy());
             t.EngineEnds(EBrowserLoadOutcome::Failed, kSecond, 404);
         },
         u"started http://a.test/2|finished Failed http://a.test/2 404"_s},
    };
    for (const Sequence &sequence : sequences) {
        SCOPED_TRACE(sequence.name);
        Tracked t;
        sequence.run(t);
        EXPECT_FALSE(t.tracker.Busy());
        EXPECT_EQ(t.Settled().join(u'|').toStdString(), sequence.log.toStdString());
    }
}

// The engine reports nothing for a navigation within the document, and may take seconds to start
// or end a real one (with dozens of pages asked at once).
TEST(LoadTracker, SettleTicksEndASilentNavigationButNeverASlowLoad)
{
    Tracked silent;
    silent.engine.url = kFirst;
    silent.tracker.Navigate(kFirst);
    ASSERT_TRUE(WaitUntil([&] { return !silent.tracker.Busy(); }, 5000));
    EXPECT_EQ(silent.Settled().join(u'|'), u"started http://a.test/1|finished Loaded http://a.test/1"_s);

    Tracked late;
    late.engine.url = kFirst;
    late.tracker.Navigate(kSecond);
    ASSERT_TRUE(WaitUntil([&] { return late.engine.asked > 50; }, 5000));
    EXPECT_TRUE(late.tracker.Busy());
    late.EngineStarts(kSecond);
    late.EngineEnds(EBrowserLoadOutcome::Loaded, kSecond, 200);
    EXPECT_EQ(late.Settled().join(u'|'), u"started http://a.test/2|finished Loaded http://a.test/2 200"_s);

    Tracked slow;
    slow.tracker.Navigate(kFirst);
    slow.engine.loading = true;
    // Far more ticks than a silent navigation takes to end.
    ASSERT_TRUE(WaitUntil([&] { return slow.engine.asked > 50; }, 5000));
    EXPECT_TRUE(slow.tracker.Busy());
    slow.EngineEnds(EBrowserLoadOutcome::Loaded, kFirst, 200);
    EXPECT_FALSE(slow.tracker.Busy());
}
