#include <QSignalSpy>
#include <QUrl>
#include <QWebEngineView>

#include "browsers/ResultBrowserMap.h"
#include "browsers/webengine/WebEngineBrowserControl.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/RecordingBrowserControl.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

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

    CWebEngineBrowserControlFactory m_engines;
    CInstalled<IBrowserControlFactory> m_installed{m_engines};
    MessageBoxRecorder m_boxes;
    LoopbackHttpServer m_server;
    QWidget m_parent;
    CResultBrowserMap m_pool;
};

} // namespace

// The shipped first-show page holds no path of the machine that made it.
TEST_F(WebEngineTest, FirstShowPageLoadsFromItsPathAndZoomLevelsScaleThePage)
{
    const QString path = QStringLiteral(QUAERIO_SOURCE_DIR "/res/firstshow.mht");
    const QByteArray mime = FileBytes(path);
    ASSERT_FALSE(mime.isEmpty());
    EXPECT_FALSE(mime.contains("file:///home/") || mime.contains("file:///work/") || mime.contains("file:///tmp/"));

    CResultBrowser *page = m_pool.GetBrowser(0);
    ASSERT_NE(page, nullptr);
    auto *engine = dynamic_cast<CWebEngineBrowserControl *>(page->Control());
    page->NavigateTo(path);
    ASSERT_TRUE(WaitIdle(page));
    EXPECT_EQ(QUrl(page->GetLocationURL()).toLocalFile(), path);
    EXPECT_TRUE(WaitUntil([engine] { return engine->Page()->title() == u"Welcome to Quaerio"; }))
        << engine->Page()->title().toStdString();

    EXPECT_DOUBLE_EQ(engine->ZoomFactor(), 1.0);
    page->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, 4);
    EXPECT_GT(engine->ZoomFactor(), 1.0);
    page->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, 0);
    EXPECT_LT(engine->ZoomFactor(), 1.0);
    // The size chosen survives the next navigation.
    page->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, 3);
    page->NavigateTo(m_server.url(u"/zoom"_s));
    ASSERT_TRUE(WaitIdle(page));
    EXPECT_DOUBLE_EQ(engine->ZoomFactor(), CWebEngineBrowserControl::ZoomFactorForLevel(3));
}

// Held while the window first appears: each page waits busy without an engine; blanking or Stop drops it.
TEST_F(WebEngineTest, HeldNavigationsLoadTheirLatestAddressOnRelease)
{
    CWebSession &session = m_engines.Session();
    session.HoldNavigations();
    CWebEngineBrowserControl first(&m_parent, session);
    CWebEngineBrowserControl second(&m_parent, session);
    CWebEngineBrowserControl blanked(&m_parent, session);
    CWebEngineBrowserControl stopped(&m_parent, session);
    first.Navigate(m_server.url(u"/old"_s));
    first.Navigate(m_server.url(u"/new"_s));
    second.Navigate(m_server.url(u"/second"_s));
    blanked.Navigate(m_server.url(u"/blanked"_s));
    blanked.Navigate(u"about:blank"_s);
    stopped.Navigate(m_server.url(u"/stopped"_s));
    stopped.Stop();

    EXPECT_EQ(first.Page(), nullptr);
    EXPECT_TRUE(first.Busy());
    EXPECT_EQ(first.LocationURL(), m_server.url(u"/new"_s));
    EXPECT_FALSE(blanked.Busy());
    EXPECT_FALSE(stopped.Busy());
    EXPECT_EQ(stopped.LocationURL(), u"about:blank"_s);

    session.ReleaseNavigations();
    ASSERT_TRUE(WaitUntil([&] { return !first.Busy() && !second.Busy(); }));
    QStringList requests = m_server.requests(); // in the order the two pages' engines sent them
    requests.sort();
    EXPECT_EQ(requests, QStringList({u"/new"_s, u"/second"_s}));
    EXPECT_EQ(first.LocationURL(), m_server.url(u"/new"_s));
    EXPECT_EQ(blanked.Page(), nullptr);
    EXPECT_EQ(stopped.Page(), nullptr);
}

// The engine would resend a form unasked on a reload; going back to an answer sends nothing.
TEST_F(WebEngineTest, AFormIsSentAgainOnlyWhenTheUserSaysSo)
{
    m_server.setRoute(u"/down"_s, "down", "text/plain", {}, "503 Service Unavailable");
    CResultBrowser *page = m_pool.GetBrowser(0);
    ASSERT_NE(page, nullptr);
    page->SetQueryTemplate(m_server.url(u"/form"_s), {}, EEngineMethod::Post, u"q=*"_s);
    page->m_bActive = true;
    m_pool.MoveAll(QRect(0, 0, 640, 480)); // seen, as the page the user refreshes is
    QSignalSpy finished(page, &CWebBrowser2::LoadFinished);
    const auto search = [&](const QString &keywords) {
        m_pool.SearchAll(keywords);
        return WaitForRequests(m_server.requestCount() + 1) && WaitIdle(page);
    };
    const auto refreshAnswering = [page](int answer) {
        MessageBoxRecorder boxes(answer);
        page->Refresh();
        return boxes.texts();
    };
    const QStringList asked = {u"The page shown is the answer to a form.\nSend the form data again?"_s};

    ASSERT_TRUE(search(u"first"_s));
    EXPECT_EQ(refreshAnswering(IDNO), asked);
    // A script's round trip lets a load that Refresh might have started show.
    bool ran = false;
    auto *engine = dynamic_cast<CWebEngineBrowserControl *>(page->Control());
    engine->Page()->runJavaScript(u"1"_s, [&ran](const QVariant &) { ran = true; });
    ASSERT_TRUE(WaitUntil([&ran] { return ran; }));
    EXPECT_FALSE(page->GetBusy());
    EXPECT_EQ(refreshAnswering(IDYES), asked);
    ASSERT_TRUE(WaitForRequests(2) && WaitIdle(page));

    ASSERT_TRUE(search(u"second"_s));
    finished.clear();
    page->GoBack();
    ASSERT_TRUE(WaitUntil([&] { return !finished.isEmpty(); }));
    EXPECT_EQ(finished.constLast().constFirst().value<SBrowserLoadResult>().outcome, EBrowserLoadOutcome::Failed);
    EXPECT_EQ(m_server.requestCount(), 3);
    EXPECT_EQ(refreshAnswering(IDYES), asked);
    ASSERT_TRUE(WaitForRequests(4) && WaitIdle(page));

    page->SetQueryTemplate(m_server.url(u"/down"_s), {}, EEngineMethod::Post, u"q=*"_s);
    ASSERT_TRUE(search(u"third"_s));
    EXPECT_EQ(refreshAnswering(IDYES), asked);
    ASSERT_TRUE(WaitForRequests(6) && WaitIdle(page));

    QByteArrayList sent;
    for (const auto &request : m_server.received())
        sent.append(request.method + ' ' + request.body);
    EXPECT_EQ(sent, QByteArrayList({"POST q=first", "POST q=first", "POST q=second", "POST q=first", "POST q=third",
                                    "POST q=third"}));
}
