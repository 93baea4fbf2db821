#include <QHostAddress>
#include <QTcpServer>
#include <QUrl>
#include <QUrlQuery>
#include <QWebEngineView>

#include "browsers/ResultBrowserMap.h"
#include "browsers/webengine/WebEngineBrowserControl.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/RecordingBrowserControl.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

// The pages and the pool on the real Qt WebEngine control, against a local HTTP server.

namespace {

class WebEngineTest : public ::testing::Test
{
protected:
    WebEngineTest()
    {
        m_parent.resize(640, 480);
        m_parent.show();
        m_pool.SetParentWnd(&m_parent);
    }
    void SetUp() override { ASSERT_TRUE(m_server.listen()); }

    bool WaitForRequests(int count) { return WaitUntil([&] { return m_server.requestCount() >= count; }); }
    static bool WaitIdle(CResultBrowser *page) { return WaitUntil([page] { return !page->GetBusy(); }); }
    // Busy for longer than the control takes to notice a navigation that
    // reports nothing: it must not give up on a load that is merely slow.
    static bool StaysBusy(CResultBrowser *page) { return !WaitUntil([page] { return !page->GetBusy(); }, 1500); }

    CWebEngineBrowserControlFactory m_engines;
    ScopedBrowserControlFactory m_installed{m_engines};
    MessageBoxRecorder m_boxes;
    LoopbackHttpServer m_server;
    QWidget m_parent;
    CResultBrowserMap m_pool;
};

} // namespace

TEST_F(WebEngineTest, SearchSendsTheKeywordsAsTyped)
{
    CResultBrowser *page = m_pool.GetBrowser(0);
    ASSERT_NE(page, nullptr);
    page->SetQueryTemplate(m_server.url(QStringLiteral("/search?q=*&page=1")));
    page->m_bActive = true;
    const QString keywords = QStringLiteral("C++ AT&T C# 100% caf\u00e9 \u5317\u4eac");
    m_pool.SearchAll(keywords);
    ASSERT_TRUE(WaitForRequests(1));
    ASSERT_TRUE(WaitUntil([&] { return !m_pool.IsAnyBusy(); }));

    const QString target = m_server.requests().constFirst();
    const QUrlQuery query(QUrl(target).query(QUrl::FullyEncoded));
    EXPECT_TRUE(target.startsWith(u"/search?")) << target.toStdString();
    EXPECT_EQ(query.queryItemValue(QStringLiteral("q"), QUrl::FullyDecoded), keywords) << target.toStdString();
    EXPECT_EQ(query.queryItemValue(QStringLiteral("page")), QStringLiteral("1"));
}

TEST_F(WebEngineTest, KeywordsInThePathStayOneSegment)
{
    CResultBrowser *page = m_pool.GetBrowser(0);
    ASSERT_NE(page, nullptr);
    page->SetQueryTemplate(m_server.url(QStringLiteral("/p/*/x?a=1")));
    page->m_bActive = true;
    const QString keywords = QStringLiteral("AC/DC what? #1 100%");
    m_pool.SearchAll(keywords);
    ASSERT_TRUE(WaitForRequests(1));

    // The request line as the server read it: one segment between "/p/" and
    // "/x", nothing of the keywords in the query.
    const QString target = m_server.requests().constFirst();
    ASSERT_TRUE(target.startsWith(u"/p/") && target.endsWith(u"/x?a=1")) << target.toStdString();
    const QString segment = target.mid(3, target.size() - 3 - 6);
    EXPECT_FALSE(segment.contains(u'/') || segment.contains(u'?') || segment.contains(u'#')) << target.toStdString();
    EXPECT_EQ(QUrl::fromPercentEncoding(segment.toLatin1()), keywords) << target.toStdString();
}

TEST_F(WebEngineTest, BusyFollowsTheLoadAndNeverOutlivesIt)
{
    CResultBrowser *page = m_pool.GetBrowser(0);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(page->GetBusy()); // never navigated
    EXPECT_EQ(page->GetLocationURL(), QStringLiteral("about:blank"));

    // Held by the server: busy until the answer comes.
    m_server.setHoldAnswers(true);
    page->NavigateTo(m_server.url(QStringLiteral("/slow")));
    EXPECT_TRUE(page->GetBusy());
    ASSERT_TRUE(WaitForRequests(1));
    EXPECT_TRUE(StaysBusy(page));
    m_server.releaseHeld();
    ASSERT_TRUE(WaitIdle(page));
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
    ASSERT_TRUE(WaitIdle(page));
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
    EXPECT_TRUE(WaitIdle(page));

    page->NavigateTo(QStringLiteral("about:blank"));
    ASSERT_TRUE(WaitIdle(page));
    EXPECT_EQ(page->GetLocationURL(), QStringLiteral("about:blank"));
}

TEST_F(WebEngineTest, FirstShowPageLoadsFromItsPathAndZoomLevelsScaleThePage)
{
    CResultBrowser *page = m_pool.GetBrowser(0);
    ASSERT_NE(page, nullptr);
    auto *engine = dynamic_cast<CWebEngineBrowserControl *>(page->Control());
    const QString path = QStringLiteral(QUAERIO_SOURCE_DIR "/res/firstshow.mht");
    page->NavigateTo(path);
    ASSERT_TRUE(WaitIdle(page));
    EXPECT_EQ(QUrl(page->GetLocationURL()).toLocalFile(), path);
    // Without a title of its own a page is named after its address.
    ASSERT_TRUE(WaitUntil([engine] { return !engine->Page()->title().isEmpty(); }));
    EXPECT_FALSE(engine->Page()->title().contains(u"firstshow")) << engine->Page()->title().toStdString();

    EXPECT_DOUBLE_EQ(engine->ZoomFactor(), 1.0);
    page->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, 4);
    EXPECT_GT(engine->ZoomFactor(), 1.0);
    page->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, 0);
    EXPECT_LT(engine->ZoomFactor(), 1.0);
    for (int level = 1; level <= 4; ++level)
        EXPECT_GT(CWebEngineBrowserControl::ZoomFactorForLevel(level), CWebEngineBrowserControl::ZoomFactorForLevel(level - 1));
    // The size chosen survives the next navigation.
    page->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, 3);
    page->NavigateTo(m_server.url(QStringLiteral("/zoom")));
    ASSERT_TRUE(WaitIdle(page));
    EXPECT_DOUBLE_EQ(engine->ZoomFactor(), CWebEngineBrowserControl::ZoomFactorForLevel(3));
}
