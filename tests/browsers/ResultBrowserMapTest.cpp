#include <QPointer>

#include <memory>

#include "tests/browsers/BrowserTestSupport.h"

namespace {
QString TemplateFor(int index)
{
    return u"http://127.0.0.1/engine" + QString::number(index) + u"?q=*";
}
} // namespace

using PoolTest = RecordingPoolTest;

TEST_F(PoolTest, SearchWalksPagesInBucketOrderAndSkipsTheInactivePageOfIndexMinusOne)
{
    for (int i = 0; i < 20; ++i)
        Activate(i, TemplateFor(i));
    CResultBrowser *unselected = m_pool.GetBrowser(-1);
    ASSERT_NE(unselected, nullptr);
    EXPECT_FALSE(unselected->m_bActive);
    EXPECT_EQ(unselected->m_nEngine, -1);

    const QList<int> expected = {15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 19, 18, 17, 16};
    QList<int> expectedWithUnselected = expected;
    expectedWithUnselected.append(-1); // bucket 15
    EXPECT_EQ(m_pool.WalkOrder(), expectedWithUnselected);

    QList<int> started;
    m_pool.SetWorkerLauncher([&started](CResultBrowser *page) {
        started.append(page->m_nEngine);
        return page->StartQueryThread();
    });
    m_pool.SearchAll(QStringLiteral("walk"));
    EXPECT_EQ(started, expected);

    ASSERT_TRUE(SettleWorkers(m_pool));
    for (int i = 0; i < 20; ++i) {
        const CRecordingBrowserControl *control = m_factory.Control(i);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->Navigations(), QStringList{u"http://127.0.0.1/engine" + QString::number(i) + u"?q=walk"});
    }
    EXPECT_TRUE(ControlOf(unselected)->Calls().isEmpty());
    EXPECT_TRUE(unselected->Keywords().isEmpty());

    // Blanking walks in the same order, synchronously.
    for (int i = 0; i < 20; ++i)
        m_factory.Control(i)->FinishNavigation();
    m_factory.ClearLog();
    m_pool.BlankAll();
    QStringList blanked;
    for (int i : expected)
        blanked.append(QString::number(i) + u": Navigate about:blank");
    EXPECT_EQ(m_factory.Log(), blanked);

    // Every page, the inactive one too, takes the rectangle.
    const QRect rect(10, 40, 300, 200);
    m_pool.MoveAll(rect);
    EXPECT_EQ(unselected->geometry(), rect);
    EXPECT_EQ(m_pool.GetBrowser(19)->geometry(), rect);
    EXPECT_EQ(ControlOf(unselected)->Widget()->size(), rect.size());
}

TEST_F(PoolTest, PagesAreCreatedOnceAndSearchWithoutActivePagesStartsNothing)
{
    CResultBrowser *first = m_pool.GetBrowser(7);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(m_pool.GetBrowser(7), first);
    EXPECT_EQ(m_factory.CreatedCount(), 1);
    EXPECT_EQ(first->m_nEngine, 7);
    EXPECT_EQ(first->parentWidget(), &m_parent);
    EXPECT_EQ(m_pool.WalkOrder(), QList<int>{7});

    int launched = 0;
    m_pool.SetWorkerLauncher([&launched](CResultBrowser *page) {
        ++launched;
        return page->StartQueryThread();
    });
    m_pool.SearchAll(QStringLiteral("nobody listens"));
    EXPECT_EQ(launched, 0);
    EXPECT_TRUE(first->Keywords().isEmpty());
    EXPECT_TRUE(m_factory.Log().isEmpty());
}

TEST_F(PoolTest, FailedCreationWarnsOnceAndNeverGivesThatPage)
{
    m_factory.SetFailCreationFor({3});
    EXPECT_EQ(m_pool.GetBrowser(3), nullptr);
    EXPECT_EQ(m_pool.GetBrowser(3), nullptr);
    EXPECT_EQ(m_boxes.texts(), QStringList{QStringLiteral("failed to create browser\n")});
    EXPECT_EQ(m_factory.FailedCount(), 1);

    // Even once creation would succeed, the index stays without a page.
    m_factory.SetFailCreationFor({});
    EXPECT_EQ(m_pool.GetBrowser(3), nullptr);
    EXPECT_EQ(m_factory.FailedCount(), 1);
    EXPECT_EQ(m_boxes.texts().size(), 1);

    // The empty entry takes part in the map but in no walk.
    CResultBrowser *other = Activate(2, TemplateFor(2));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(m_pool.WalkOrder(), (QList<int>{2, 3}));
    EXPECT_EQ(m_pool.Pages(), QList<CResultBrowser *>{other});
    m_pool.BlankAll();
    m_pool.StopAll();
    m_pool.MoveAll(QRect(0, 0, 50, 50));
    EXPECT_FALSE(m_pool.IsAnyBusy());
    EXPECT_EQ(m_factory.Log(), (QStringList{QStringLiteral("2: Navigate about:blank"), QStringLiteral("2: Stop")}));

    m_factory.SetFailCreation(true);
    EXPECT_EQ(m_pool.GetBrowser(4), nullptr);
    EXPECT_EQ(m_boxes.texts().size(), 2);
}

TEST_F(PoolTest, DeactivateAllEmptiesAndBlanksOnlyActivePages)
{
    CResultBrowser *a = Activate(0, TemplateFor(0));
    CResultBrowser *b = Activate(1, TemplateFor(1));
    CResultBrowser *idle = m_pool.GetBrowser(2);
    idle->SetQueryTemplate(QStringLiteral("http://127.0.0.1/left?q=*"));
    idle->SetKeywords(QStringLiteral("kept"));
    a->SetKeywords(QStringLiteral("old"));

    m_pool.DeactivateAll();
    for (CResultBrowser *page : {a, b}) {
        EXPECT_FALSE(page->m_bActive);
        EXPECT_TRUE(page->QueryTemplate().isEmpty());
        EXPECT_TRUE(page->Keywords().isEmpty());
        EXPECT_EQ(ControlOf(page)->Calls(), QStringList{QStringLiteral("Navigate about:blank")});
        EXPECT_TRUE(page->GetBusy()); // the blank page is still loading...
    }
    EXPECT_FALSE(m_pool.IsAnyBusy()); // ...but no longer asked
    EXPECT_TRUE(ControlOf(idle)->Calls().isEmpty());
    EXPECT_EQ(idle->QueryTemplate(), QStringLiteral("http://127.0.0.1/left?q=*"));
    EXPECT_EQ(idle->Keywords(), QStringLiteral("kept"));
}

TEST_F(PoolTest, BusyTestAndStopAllIgnoreInactivePages)
{
    CResultBrowser *active = Activate(0, TemplateFor(0));
    CResultBrowser *inactive = m_pool.GetBrowser(1);
    ControlOf(inactive)->SetBusy(true);

    EXPECT_FALSE(m_pool.IsAnyBusy());
    m_pool.StopAll();
    EXPECT_TRUE(m_factory.Log().isEmpty()); // an idle page is not stopped either

    ControlOf(active)->SetBusy(true);
    EXPECT_TRUE(m_pool.IsAnyBusy());
    m_pool.StopAll();
    EXPECT_EQ(m_factory.Log(), QStringList{QStringLiteral("0: Stop")});
    EXPECT_FALSE(m_pool.IsAnyBusy());
    EXPECT_TRUE(inactive->GetBusy());
}

TEST_F(PoolTest, DestroyingThePoolStopsBusyPagesAndDestroysEveryPage)
{
    auto pool = std::make_unique<CResultBrowserMap>();
    pool->SetParentWnd(&m_parent);
    QPointer<CResultBrowser> busy = pool->GetBrowser(0);
    QPointer<CResultBrowser> idle = pool->GetBrowser(1);
    QPointer<CResultBrowser> busyInactive = pool->GetBrowser(2);
    busy->m_bActive = true;
    ControlOf(busy)->SetBusy(true);
    ControlOf(busyInactive)->SetBusy(true);

    pool.reset();
    EXPECT_TRUE(busy.isNull());
    EXPECT_TRUE(idle.isNull());
    EXPECT_TRUE(busyInactive.isNull());
    EXPECT_TRUE(m_parent.findChildren<CResultBrowser *>().isEmpty());
    EXPECT_EQ(m_factory.Log(), (QStringList{QStringLiteral("2: Stop"), QStringLiteral("0: Stop")}));
}
