#include <QHostAddress>
#include <QTcpServer>
#include <QUrl>
#include <QUrlQuery>
#include <QWebEngineView>

#include <memory>

#include "browsers/webengine/WebEngineBrowserControl.h"
#include "tests/browsers/BrowserTestSupport.h"
#include "tests/support/LoopbackHttpServer.h"

// The pages and the pool on the real Qt WebEngine control, against a local
// HTTP server.

namespace {

class WebEngineTest : public ::testing::Test
{
protected:
    WebEngineTest()
    {
        SetBrowserControlFactory(WebEngineBrowserControlFactory());
        m_parent.resize(640, 480);
        m_parent.show();
        m_pool.SetParentWnd(&m_parent);
    }
    ~WebEngineTest() override { SetBrowserControlFactory({}); }

    void SetUp() override { ASSERT_TRUE(m_server.listen()); }

    CResultBrowser *Page(int index)
    {
        CResultBrowser *page = m_pool.GetBrowser(index);
        EXPECT_NE(page, nullptr);
        return page;
    }

    static CWebEngineBrowserControl *Engine(CResultBrowser *page)
    {
        return dynamic_cast<CWebEngineBrowserControl *>(page->Control());
    }

    bool WaitForRequests(int count) { return WaitUntil([&] { return m_server.requestCount() >= count; }); }

    // Asserts that `page` stays busy for longer than the control takes to
    // notice a navigation that reports nothing: the only way to show that it
    // does not give up on a load that is merely slow.
    static bool StaysBusy(CResultBrowser *page) { return !WaitUntil([page] { return !page->GetBusy(); }, 1500); }

    MessageBoxRecorder m_boxes;
    LoopbackHttpServer m_server;
    QWidget m_parent;
    CResultBrowserMap m_pool;
};

QString QueryValue(const QString &target, const QString &name)
{
    return QUrlQuery(QUrl(target).query(QUrl::FullyEncoded)).queryItemValue(name, QUrl::FullyDecoded);
}

} // namespace

TEST_F(WebEngineTest, SearchSendsTheKeywordsAsTyped)
{
    for (int i = 0; i < 2; ++i) {
        CResultBrowser *page = Page(i);
        page->SetQueryTemplate(m_server.url(u"/search" + QString::number(i) + u"?q=*&page=1"));
        page->m_bActive = true;
    }
    const QString keywords = QStringLiteral("C++ AT&T C# 100% caf\u00e9 \u5317\u4eac");
    m_pool.SearchAll(keywords);
    ASSERT_TRUE(WaitForRequests(2));
    ASSERT_TRUE(WaitUntil([&] { return !m_pool.IsAnyBusy(); }));

    QStringList targets = m_server.requests();
    targets.sort();
    ASSERT_EQ(targets.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(targets.at(i).startsWith(u"/search" + QString::number(i) + u"?")) << targets.at(i).toStdString();
        EXPECT_EQ(QueryValue(targets.at(i), QStringLiteral("q")), keywords) << targets.at(i).toStdString();
        EXPECT_EQ(QueryValue(targets.at(i), QStringLiteral("page")), QStringLiteral("1"));
        EXPECT_TRUE(m_pool.GetBrowser(i)->GetLocationURL().startsWith(m_server.url(u"/search" + QString::number(i))));
    }
}

TEST_F(WebEngineTest, BusyFollowsTheLoadAndNeverOutlivesIt)
{
    CResultBrowser *page = Page(0);
    EXPECT_FALSE(page->GetBusy()); // never navigated
    EXPECT_EQ(page->GetLocationURL(), QStringLiteral("about:blank"));

    // Held by the server: busy until the answer comes.
    m_server.setHoldAnswers(true);
    page->NavigateTo(m_server.url(QStringLiteral("/slow")));
    EXPECT_TRUE(page->GetBusy());
    ASSERT_TRUE(WaitForRequests(1));
    EXPECT_TRUE(StaysBusy(page));
    m_server.releaseHeld();
    ASSERT_TRUE(WaitUntil([page] { return !page->GetBusy(); }));
    EXPECT_EQ(page->GetLocationURL(), m_server.url(QStringLiteral("/slow")));

    // Stopped while held: not busy at once, nor afterwards.
    page->NavigateTo(m_server.url(QStringLiteral("/stopped")));
    ASSERT_TRUE(WaitForRequests(2));
    page->Stop();
    EXPECT_FALSE(page->GetBusy());
    EXPECT_FALSE(WaitUntil([page] { return page->GetBusy(); }, 1000));
    m_server.releaseHeld();

    // Replaced while held: the engine reports neither the end of the first
    // load nor the start of the second; busy lasts until the second ends.
    page->NavigateTo(m_server.url(QStringLiteral("/first")));
    ASSERT_TRUE(WaitForRequests(3));
    page->NavigateTo(m_server.url(QStringLiteral("/second")));
    ASSERT_TRUE(WaitForRequests(4));
    EXPECT_TRUE(StaysBusy(page));
    m_server.releaseHeld();
    ASSERT_TRUE(WaitUntil([page] { return !page->GetBusy(); }));
    EXPECT_EQ(page->GetLocationURL(), m_server.url(QStringLiteral("/second")));

    // A load that fails (nothing listens on the port) ends too.
    m_server.setHoldAnswers(false);
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    page->NavigateTo(u"http://127.0.0.1:" + QString::number(closedPort) + u"/refused");
    EXPECT_TRUE(page->GetBusy());
    EXPECT_TRUE(WaitUntil([page] { return !page->GetBusy(); }));

    // A move within the same document reports nothing at all.
    page->NavigateTo(m_server.url(QStringLiteral("/second")));
    ASSERT_TRUE(WaitUntil([page] { return !page->GetBusy(); }));
    m_server.setHoldAnswers(false);
    page->NavigateTo(m_server.url(QStringLiteral("/second#part")));
    EXPECT_TRUE(page->GetBusy());
    EXPECT_TRUE(WaitUntil([page] { return !page->GetBusy(); }));
    EXPECT_EQ(m_server.requestCount(), 5);

    // Stop on a busy page, then the blank page: blank and, once loaded, idle.
    m_server.setHoldAnswers(true);
    page->NavigateTo(m_server.url(QStringLiteral("/again")));
    ASSERT_TRUE(WaitForRequests(6));
    m_pool.GetBrowser(0)->m_bActive = true;
    m_pool.StopAll();
    page->NavigateTo(QStringLiteral("about:blank"));
    ASSERT_TRUE(WaitUntil([page] { return !page->GetBusy(); }));
    EXPECT_EQ(page->GetLocationURL(), QStringLiteral("about:blank"));
    m_server.releaseHeld();
}

TEST_F(WebEngineTest, HistoryAndReloadActOnThePage)
{
    CResultBrowser *page = Page(0);
    page->NavigateTo(m_server.url(QStringLiteral("/one")));
    ASSERT_TRUE(WaitUntil([page] { return !page->GetBusy(); }));
    page->NavigateTo(m_server.url(QStringLiteral("/two")));
    ASSERT_TRUE(WaitUntil([page] { return !page->GetBusy() && page->GetLocationURL().endsWith(u"/two"); }));

    page->GoBack();
    ASSERT_TRUE(WaitUntil([page] { return !page->GetBusy() && page->GetLocationURL().endsWith(u"/one"); }));
    page->GoForward();
    ASSERT_TRUE(WaitUntil([page] { return !page->GetBusy() && page->GetLocationURL().endsWith(u"/two"); }));
    const int before = m_server.requestCount();
    page->Refresh();
    ASSERT_TRUE(WaitUntil([&] { return m_server.requestCount() > before && !page->GetBusy(); }));
    EXPECT_EQ(m_server.requests().constLast(), QStringLiteral("/two"));
}

TEST_F(WebEngineTest, FirstShowPageLoadsWithItsTitle)
{
    CResultBrowser *page = Page(0);
    const QString path = QStringLiteral(QUAERIO_SOURCE_DIR "/res/firstshow.mht");
    page->NavigateTo(path);
    ASSERT_TRUE(WaitUntil([page] { return !page->GetBusy(); }));
    EXPECT_EQ(QUrl(page->GetLocationURL()).toLocalFile(), path);
    QWebEngineView *view = Engine(page)->View();
    ASSERT_TRUE(WaitUntil([view] { return !view->title().isEmpty(); }));
    // Without a title of its own a page is named after its address.
    EXPECT_FALSE(view->title().contains(u"firstshow")) << view->title().toStdString();
}

TEST_F(WebEngineTest, ZoomLevelsChangeTheZoomFactor)
{
    CResultBrowser *page = Page(0);
    CWebEngineBrowserControl *engine = Engine(page);
    ASSERT_NE(engine, nullptr);
    page->NavigateTo(m_server.url(QStringLiteral("/zoom")));
    ASSERT_TRUE(WaitUntil([page] { return !page->GetBusy(); }));
    EXPECT_DOUBLE_EQ(engine->ZoomFactor(), 1.0);

    page->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, 4);
    const qreal largest = engine->ZoomFactor();
    page->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, 0);
    const qreal smallest = engine->ZoomFactor();
    EXPECT_GT(largest, 1.0);
    EXPECT_LT(smallest, 1.0);
    for (int level = 1; level <= 4; ++level)
        EXPECT_GT(CWebEngineBrowserControl::ZoomFactorForLevel(level), CWebEngineBrowserControl::ZoomFactorForLevel(level - 1));

    // The size chosen survives the next navigation.
    page->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, 3);
    page->NavigateTo(m_server.url(QStringLiteral("/zoom2")));
    ASSERT_TRUE(WaitUntil([page] { return !page->GetBusy(); }));
    EXPECT_DOUBLE_EQ(engine->ZoomFactor(), CWebEngineBrowserControl::ZoomFactorForLevel(3));
}
