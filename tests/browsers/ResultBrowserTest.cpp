#include <QCoreApplication>
#include <QThreadPool>
#include <QWidget>

#include <future>
#include <memory>

#include "browsers/ResultBrowserMap.h"
#include "catalogue/EngineEncoding.h"
#include "tests/support/RecordingBrowserControl.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

// The pages and the pool on recording controls (run under ThreadSanitizer too).

using namespace Qt::StringLiterals;

void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {
QString TemplateFor(int index)
{
    return u"http://127.0.0.1/engine" + QString::number(index) + u"?q=*&n=" + QString::number(index);
}

// A pool of pages in a shown parent, its workers on a thread pool of the test.
class PoolTest : public ::testing::Test
{
protected:
    PoolTest()
    {
        m_factory.Install();
        m_parent.resize(800, 600);
        m_parent.show();
        m_pool.SetParentWnd(&m_parent);
    }

    // Runs every worker to its end and delivers the navigations they handed over.
    bool SettleWorkers(int timeoutMs = 20000)
    {
        const bool finished = m_workers.waitForDone(timeoutMs);
        QCoreApplication::sendPostedEvents();
        return finished;
    }

    // Keeps every worker thread busy until the returned promise is set, so
    // that the workers of a search stay queued.
    std::promise<void> HoldWorkers()
    {
        std::promise<void> release;
        m_workers.setMaxThreadCount(1);
        m_workers.start([held = release.get_future().share()] { held.wait(); });
        return release;
    }

    // The page of `index`, given `urlTemplate` and made active.
    CResultBrowser *Activate(int index, const QString &urlTemplate)
    {
        CResultBrowser *page = m_pool.GetBrowser(index);
        if (page) {
            page->SetQueryTemplate(urlTemplate);
            page->m_bActive = true;
        }
        return page;
    }
    static CRecordingBrowserControl *ControlOf(const CResultBrowser *page)
    {
        return page ? dynamic_cast<CRecordingBrowserControl *>(page->Control()) : nullptr;
    }

    CRecordingBrowserFactory m_factory;
    QWidget m_parent;
    QThreadPool m_workers;
    CResultBrowserMap m_pool{m_workers}; // destroyed first: it owns the pages
};
} // namespace

TEST(QueryUrlTest, EveryStarTakesTheKeywordsWithStructureCharactersEncodedForItsPart)
{
    const QList<std::tuple<QString, QString, QString>> cases = {
        // Left to right; a "*" inside the keywords is not expanded again.
        {u"http://e.test/s?a=*&b=*"_s, u"x*y"_s, u"http://e.test/s?a=x*y&b=x*y"_s},
        {u"http://e.test/fixed?x=1"_s, u"C++ & more"_s, u"http://e.test/fixed?x=1"_s},
        // Spaces and non-ASCII letters stay as typed for the browser to encode.
        {u"http://e.test/?q=*"_s, u"caf\u00e9 \u5317\u4eac"_s, u"http://e.test/?q=caf\u00e9 \u5317\u4eac"_s},
        {u"http://e.test/s?q=*&l=en"_s, u"C++"_s, u"http://e.test/s?q=C%2B%2B&l=en"_s},
        {u"http://e.test/s?q=*&l=en"_s, u"AT&T"_s, u"http://e.test/s?q=AT%26T&l=en"_s},
        {u"http://e.test/s?q=*&l=en"_s, u"C# 100%"_s, u"http://e.test/s?q=C%23 100%25&l=en"_s},
        {u"http://e.test/s?q=*"_s, u"a;b %41"_s, u"http://e.test/s?q=a%3Bb %2541"_s},
        {u"http://e.test/app#q=*"_s, u"C# & F#"_s, u"http://e.test/app#q=C%23 %26 F%23"_s},
        // In the path the keywords stay one segment.
        {u"http://e.test/*/find?q=*"_s, u"a+b"_s, u"http://e.test/a+b/find?q=a%2Bb"_s},
        {u"https://e.test/p/*/x?a=1"_s, u"AC/DC what? #1 100% a\\b"_s, u"https://e.test/p/AC%2FDC what%3F %231 100%25 a%5Cb/x?a=1"_s},
        {u"/local/*"_s, u"a/b\tc\u007f\u00e9"_s, u"/local/a%2Fb%09c%7F\u00e9"_s},
        // In the scheme or authority, or as the whole template, as typed.
        {u"*"_s, u"http://e.test/?a=1&b=C++#top"_s, u"http://e.test/?a=1&b=C++#top"_s},
        {u"http://*.e.test/?q=*"_s, u"de"_s, u"http://de.e.test/?q=de"_s},
    };
    for (const auto &[tpl, keywords, expected] : cases)
        EXPECT_EQ(BuildQueryUrl(tpl, keywords), expected) << tpl.toStdString() << " / " << keywords.toStdString();

    // In another charset every byte above 0x7F is escaped, an ASCII byte
    // inside a character as that ASCII character would be, and a character
    // the charset lacks goes as a reference; the form's fixed text too.
    EXPECT_EQ(BuildQueryUrl(u"http://e.test/*/x?q=*"_s, u"表 é"_s, u"sjis"_s), u"http://e.test/%95%5C &%23233;/x?q=%95\\ %26%23233%3B"_s);
    EXPECT_EQ(BuildPostData(u"q=*&l=ру"_s, u"Москва 日"_s, u"windows-1251"_s), "q=%CC%EE%F1%EA%E2%E0+%26%2326085%3B&l=%F0%F3");
    EXPECT_EQ(BuildPostData(u"q=*&l=ру"_s, u"é+"_s), "q=%C3%A9%2B&l=%D1%80%D1%83");
}

TEST_F(PoolTest, SearchWalksPagesInBucketOrderAndSkipsTheInactivePageOfIndexMinusOne)
{
    for (int i = 0; i < 20; ++i)
        Activate(i, TemplateFor(i));
    CResultBrowser *unselected = m_pool.GetBrowser(-1);
    ASSERT_NE(unselected, nullptr);
    EXPECT_FALSE(unselected->m_bActive);
    EXPECT_EQ(m_pool.GetBrowser(-1), unselected);
    EXPECT_EQ(m_factory.CreatedCount(), 21); // one control per page, however often asked

    // On one worker thread the workers run, and their navigations land, in
    // the order the search started them.
    m_workers.setMaxThreadCount(1);
    m_pool.SearchAll(u"walk"_s);
    ASSERT_TRUE(SettleWorkers());
    QStringList expected;
    for (int i : {15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 19, 18, 17, 16})
        expected.append(QString::number(i) + u": Navigate " + BuildQueryUrl(TemplateFor(i), u"walk"_s));
    EXPECT_EQ(m_factory.NavigationLog(), expected);
    EXPECT_TRUE(ControlOf(unselected)->Calls().isEmpty());

    // Every page, the inactive one too, takes the rectangle.
    const QRect rect(10, 40, 300, 200);
    m_pool.MoveAll(rect);
    EXPECT_EQ(unselected->geometry(), rect);
    EXPECT_EQ(ControlOf(unselected)->Widget()->size(), rect.size());
    EXPECT_EQ(m_pool.GetBrowser(19)->geometry(), rect);
}

TEST_F(PoolTest, PageNavigationsAndTextCapacities)
{
    EXPECT_EQ(CResultBrowser::QueryThreadProc(nullptr), 1u);
    CResultBrowser *page = Activate(0, u"http://127.0.0.1/?q=*" + QString(600, u'u'));
    CRecordingBrowserControl *control = ControlOf(page);
    EXPECT_EQ(page->QueryTemplate().size(), 511);

    // Keywords are cut to 259 characters.
    page->SetQueryTemplate(u"http://127.0.0.1/?q=*"_s);
    m_pool.SearchAll(QString(300, u'k'));
    EXPECT_EQ(page->Keywords(), QString(259, u'k'));
    ASSERT_TRUE(SettleWorkers());
    EXPECT_EQ(control->Navigations(), QStringList{u"http://127.0.0.1/?q=" + QString(259, u'k')});

    // A POST engine's keywords go in its charset into the address and the form.
    page->SetQueryTemplate(u"http://127.0.0.1/f?e=*"_s, u"cp1251"_s, EEngineMethod::Post, u"q=*"_s);
    m_pool.SearchAll(u"ж"_s);
    ASSERT_TRUE(SettleWorkers());
    EXPECT_EQ(control->Navigations().constLast(), u"POST http://127.0.0.1/f?e=%E6 q=%E6"_s);

    // A busy page is stopped before it navigates.
    control->ClearCalls();
    page->NavigateTo(u"/tmp/start.mht"_s);
    EXPECT_EQ(control->Calls(), (QStringList{u"Stop"_s, u"Navigate /tmp/start.mht"_s}));
    control->FinishNavigation();
    EXPECT_FALSE(page->GetBusy());

    // A query started before a direct navigation never lands after it.
    page->StartQuery(m_workers);
    page->NavigateTo(u"about:blank"_s);
    ASSERT_TRUE(SettleWorkers());
    EXPECT_EQ(control->Navigations().constLast(), u"about:blank"_s);
}

TEST_F(PoolTest, AQueryOnItsWayCountsAsBusyAndStopBlankAndDeactivateCancelIt)
{
    CResultBrowser *stopped = Activate(0, TemplateFor(0));
    CResultBrowser *blanked = Activate(1, TemplateFor(1));
    std::promise<void> release = HoldWorkers();
    m_pool.SearchAll(u"first"_s);
    EXPECT_TRUE(m_pool.IsAnyBusy()); // the workers have not even run
    m_pool.StopAll();
    EXPECT_FALSE(m_pool.IsAnyBusy());

    // Queued again, then handed over but not yet navigated: still busy.
    m_pool.SearchAll(u"second"_s);
    release.set_value();
    ASSERT_TRUE(m_workers.waitForDone(20000));
    EXPECT_TRUE(m_pool.IsAnyBusy());
    EXPECT_TRUE(m_factory.Log().isEmpty());
    m_pool.StopAll();
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(m_factory.Log().isEmpty()); // nothing to stop, nothing loads
    EXPECT_FALSE(m_pool.IsAnyBusy());

    // Blanking and deactivation leave only the blank page.
    m_pool.SearchAll(u"third"_s);
    m_pool.BlankAll();
    ASSERT_TRUE(SettleWorkers());
    EXPECT_EQ(ControlOf(blanked)->Navigations(), QStringList{u"about:blank"_s});
    m_pool.SearchAll(u"fourth"_s);
    ControlOf(stopped)->FinishNavigation();
    ControlOf(blanked)->FinishNavigation();
    m_pool.DeactivateAll();
    EXPECT_FALSE(m_pool.IsAnyBusy());
    ASSERT_TRUE(SettleWorkers());
    EXPECT_EQ(ControlOf(stopped)->Navigations(), QStringList(2, u"about:blank"_s));

    // A query that lands is busy through its control as before.
    Activate(0, TemplateFor(0));
    ControlOf(stopped)->FinishNavigation();
    m_pool.SearchAll(u"fifth"_s);
    ASSERT_TRUE(SettleWorkers());
    EXPECT_FALSE(stopped->IsQueryPending());
    EXPECT_TRUE(m_pool.IsAnyBusy());
    ControlOf(stopped)->FinishNavigation();
    EXPECT_FALSE(m_pool.IsAnyBusy());
}

// Many searches mixed with blanking, deactivation and deliveries of queued navigations.
constexpr int PageCount = 50;

TEST_F(PoolTest, ManySearchesEveryPageEndsOnTheNewestSearch)
{
    for (int i = 0; i < PageCount; ++i)
        Activate(i, TemplateFor(i));
    for (int n = 0; n < 1000; ++n) {
        if (n % 97 == 41) { // a category change: every page detached, then attached again
            m_pool.DeactivateAll();
            for (int i = 0; i < PageCount; ++i)
                Activate(i, TemplateFor(i));
        }
        if (n % 100 == 99) {
            // Blank while earlier workers still run: none of their queries may land afterwards.
            m_pool.BlankAll();
            ASSERT_TRUE(SettleWorkers(120000));
            for (int i = 0; i < PageCount; ++i)
                ASSERT_EQ(m_factory.Control(i)->Navigations().constLast(), u"about:blank"_s) << "page " << i;
        } else if (n % 3 == 0) {
            m_pool.BlankAll();
        }
        m_pool.SearchAll(u"k" + QString::number(n) + u" C++ & 100%");
        if (n % 5 == 0)
            QCoreApplication::processEvents();
    }
    m_pool.BlankAll(); // the last search as the view makes it
    const QString last = u"final C# AT&T"_s;
    m_pool.SearchAll(last);
    ASSERT_TRUE(SettleWorkers(120000));

    for (int i = 0; i < PageCount; ++i) {
        const QStringList navigations = m_factory.Control(i)->Navigations();
        const QString query = BuildQueryUrl(TemplateFor(i), last);
        const qsizetype lastBlank = navigations.lastIndexOf(u"about:blank"_s);
        ASSERT_GE(lastBlank, 0);
        EXPECT_EQ(navigations.mid(lastBlank + 1), QStringList{query}) << "page " << i;
        EXPECT_EQ(m_pool.GetBrowser(i)->GetLocationURL(), query);
    }
}

TEST_F(PoolTest, ManySearchesPoolDestroyedWhileWorkersRun)
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

#if defined(__SANITIZE_THREAD__)
// Qt is not built with ThreadSanitizer: its event queue is guarded by locks the
// sanitizer cannot see, so copies Qt makes while a worker posts would be reported
// as races. Only Qt's own accesses go unchecked; the pages, pool and workers are.
extern "C" const char *__tsan_default_suppressions()
{
    return "called_from_lib:libQt6Core.so.6\n";
}
#endif
