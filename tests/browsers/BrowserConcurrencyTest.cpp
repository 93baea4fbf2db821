#include <QCoreApplication>

#include <memory>

#include "tests/browsers/BrowserTestSupport.h"

// Many searches in quick succession, mixed with blanking, deactivation and
// the delivery of queued navigations at arbitrary points. Run under
// ThreadSanitizer too.

namespace {
constexpr int PageCount = 50;
constexpr int SearchCount = 1000;

QString TemplateFor(int index)
{
    return u"http://127.0.0.1/e" + QString::number(index) + u"?q=*&n=" + QString::number(index);
}
} // namespace

using ConcurrencyTest = RecordingPoolTest;

TEST_F(ConcurrencyTest, EveryPageEndsOnTheNewestSearch)
{
    for (int i = 0; i < PageCount; ++i)
        Activate(i, TemplateFor(i));

    QString keywords;
    for (int n = 0; n < SearchCount; ++n) {
        if (n % 97 == 41) {
            // A category change: every page detached, then attached again.
            m_pool.DeactivateAll();
            for (int i = 0; i < PageCount; ++i)
                Activate(i, TemplateFor(i));
        }
        if (n % 100 == 99) {
            // Blank while the workers of earlier searches still run: none of
            // their queries may land afterwards.
            m_pool.BlankAll();
            ASSERT_TRUE(SettleWorkers(m_pool, 120000));
            for (int i = 0; i < PageCount; ++i)
                ASSERT_EQ(m_factory.Control(i)->Navigations().constLast(), QStringLiteral("about:blank")) << "page " << i;
        } else if (n % 3 == 0) {
            m_pool.BlankAll();
        }
        keywords = u"k" + QString::number(n) + u" C++ & 100%";
        m_pool.SearchAll(keywords);
        // Deliver whatever the workers have posted so far, at odd moments.
        if (n % 5 == 0)
            QCoreApplication::processEvents();
    }
    // The last search as the view makes it: blank, then search.
    m_pool.BlankAll();
    const QString last = QStringLiteral("final C# AT&T");
    m_pool.SearchAll(last);
    ASSERT_TRUE(SettleWorkers(m_pool, 120000));

    for (int i = 0; i < PageCount; ++i) {
        const QStringList navigations = m_factory.Control(i)->Navigations();
        const QString query = BuildQueryUrl(TemplateFor(i), last);
        ASSERT_FALSE(navigations.isEmpty());
        // After the last blanking exactly one navigation: the newest query.
        const qsizetype lastBlank = navigations.lastIndexOf(QStringLiteral("about:blank"));
        ASSERT_GE(lastBlank, 0);
        EXPECT_EQ(navigations.mid(lastBlank + 1), QStringList{query}) << "page " << i;
        EXPECT_EQ(m_pool.GetBrowser(i)->GetLocationURL(), query);
    }
}

TEST_F(ConcurrencyTest, PoolDestroyedWhileWorkersRun)
{
    for (int round = 0; round < 20; ++round) {
        auto pool = std::make_unique<CResultBrowserMap>();
        pool->SetParentWnd(&m_parent);
        for (int i = 0; i < PageCount; ++i) {
            CResultBrowser *page = pool->GetBrowser(i);
            ASSERT_NE(page, nullptr);
            page->SetQueryTemplate(TemplateFor(i));
            page->m_bActive = true;
        }
        for (int n = 0; n < 5; ++n) {
            pool->BlankAll();
            pool->SearchAll(u"round " + QString::number(round) + u" search " + QString::number(n));
        }
        pool.reset(); // workers may still be copying texts and posting
        EXPECT_TRUE(m_parent.findChildren<CResultBrowser *>().isEmpty());
    }
    // Nothing posted by a worker of a destroyed page may arrive anywhere.
    const QStringList before = m_factory.Log();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(m_factory.Log(), before);
}
