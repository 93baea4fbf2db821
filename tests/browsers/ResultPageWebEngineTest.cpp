#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <csignal>
#include <optional>

#include "browsers/ResultBrowserMap.h"
#include "browsers/webengine/DownloadHandler.h"
#include "browsers/webengine/EngineSwitches.h"
#include "browsers/webengine/ResultProfile.h"
#include "browsers/webengine/WebSession.h"
#include "browsers/webengine/WebEngineBrowserControl.h"
#include "platform/ProfileStore.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ProgramProcess.h"
#include "tests/support/RecordingBrowserControl.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Result pages on the real engine against loopback.

namespace {

class ResultPageTest : public ::testing::Test
{
protected:
    ResultPageTest()
    {
        m_parent.resize(640, 480);
        m_parent.show();
        UsePolicy({});
    }
    void SetUp() override { ASSERT_TRUE(m_server.listen()); }

    // Pages made from now on follow `policy`; the pages made before go. What
    // their session tells the status bar is kept in m_statusTexts.
    void UsePolicy(const WebEngineMemoryPolicy &policy)
    {
        m_pool.reset();
        m_installed.reset();
        m_factory = std::make_unique<CWebEngineBrowserControlFactory>(policy);
        m_installed.emplace(*m_factory);
        QObject::connect(&m_factory->Session(), &CWebSession::StatusTextChanged, &m_context,
                         [this](const QString &text) { m_statusTexts.append(text); });
        m_pool = std::make_unique<CResultBrowserMap>();
        m_pool->SetParentWnd(&m_parent);
    }

    // Page k, laid over the others in the parent.
    CResultBrowser *Page(int k)
    {
        CResultBrowser *page = m_pool->GetBrowser(k);
        m_pool->MoveAll(QRect(0, 0, 640, 480));
        return page;
    }
    static CWebEngineBrowserControl *Engine(CResultBrowser *page)
    {
        return dynamic_cast<CWebEngineBrowserControl *>(page->Control());
    }
    static bool Load(CResultBrowser *page, const QString &url)
    {
        page->NavigateTo(url);
        return WaitUntil([page] { return !page->GetBusy(); });
    }
    static bool WaitForTitle(CResultBrowser *page, const QString &title)
    {
        return WaitUntil([page, title] { return Engine(page)->Page() && Engine(page)->Page()->title() == title; });
    }

    MessageBoxRecorder m_boxes;
    LoopbackHttpServer m_server;
    QWidget m_parent;
    QObject m_context;
    QStringList m_statusTexts;
    std::unique_ptr<CWebEngineBrowserControlFactory> m_factory;
    std::optional<CInstalled<IBrowserControlFactory>> m_installed;
    std::unique_ptr<CResultBrowserMap> m_pool;
};

// Stands for the desktop's opener of a scheme: records what it is asked to open.
class CSchemeHandler final : public QObject
{
    Q_OBJECT

public:
    Q_INVOKABLE void Open(const QUrl &url) { opened.append(url.toString()); }

    QStringList opened;
};

// Clicks at `pos` of the engine's view until `done` holds: the first clicks
// may arrive before the engine has laid the page out.
bool ClickUntil(CResultBrowser *page, QPoint pos, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                const std::function<bool()> &done)
{
    const auto *control = dynamic_cast<CWebEngineBrowserControl *>(page->Control());
    for (int attempt = 0; attempt < 10; ++attempt) {
        // A page raised gets its view back one event round later.
        if (!WaitUntil([control] { return control->View() != nullptr; }))
            return false;
        QWebEngineView *view = control->View();
        QWidget *target = view->focusProxy() ? view->focusProxy() : view;
        QTest::mouseClick(target, button, modifiers, pos);
        if (WaitUntil(done, 1000))
            return true;
    }
    return false;
}

// The document a page shows now, as markup.
QString HtmlOf(QWebEnginePage *page)
{
    auto html = std::make_shared<std::optional<QString>>();
    page->toHtml([html](const QString &text) { *html = text; });
    WaitUntil([&] { return html->has_value(); });
    return html->value_or(QString());
}

} // namespace

// Only web pages load in a result page; a link of another scheme, which the engine would hand to
// whatever the desktop names for it, is refused with a word in the status bar.
TEST_F(ResultPageTest, NewWindowsAndMailLinksGoToTheUsersProgramsAndOtherSchemesAndPopUpsAreRefused)
{
    ShellOpenRecorder shell;
    CSchemeHandler desktop;
    for (const QString &scheme : {u"vnd.example"_s, u"mailto"_s})
        QDesktopServices::setUrlHandler(scheme, &desktop, "Open");
    // Six boxes, 60 pixels apart from the top.
    const auto link = [](const QString &href, int top) {
        return u"<a href=\"%1\" style=\"position:absolute;left:0;width:300px;height:40px;top:%2px\">x</a>"_s.arg(href).arg(top);
    };
    m_server.setRoute(u"/links"_s, (u"<!DOCTYPE html><html><head><title>links</title></head><body style=\"margin:0\">"
                                    + link(m_server.url(u"/blank"_s) + u"\" target=\"_blank", 0)
                                    + u"<button onclick=\"window.open('" + m_server.url(u"/scripted"_s)
                                    + u"')\" style=\"position:absolute;left:0;width:300px;height:40px;top:60px\">b</button>"
                                    + link(m_server.url(u"/middle"_s), 120) + link(m_server.url(u"/control"_s), 180)
                                    + link(u"vnd.example:thing"_s, 240) + link(u"mailto:a@example.test"_s, 300)
                                    + u"<script>setTimeout(function () { var w = window.open('" + m_server.url(u"/popup"_s)
                                    + u"'); document.title = w ? 'opened' : 'blocked'; }, 50);</script></body></html>")
                                       .toUtf8());
    CResultBrowser *page = Page(0);
    ASSERT_TRUE(Load(page, m_server.url(u"/links"_s)));
    ASSERT_TRUE(WaitForTitle(page, u"blocked"_s));

    const auto opened = [&shell](const QString &target) { return [&shell, target] { return shell.targets.contains(target); }; };
    const auto told = [this] { return !m_statusTexts.isEmpty(); };
    EXPECT_TRUE(ClickUntil(page, {20, 20}, Qt::LeftButton, {}, opened(m_server.url(u"/blank"_s))));
    EXPECT_TRUE(ClickUntil(page, {20, 80}, Qt::LeftButton, {}, opened(m_server.url(u"/scripted"_s))));
    EXPECT_TRUE(ClickUntil(page, {20, 140}, Qt::MiddleButton, {}, opened(m_server.url(u"/middle"_s))));
    EXPECT_TRUE(ClickUntil(page, {20, 200}, Qt::LeftButton, Qt::ControlModifier, opened(m_server.url(u"/control"_s))));
    EXPECT_TRUE(ClickUntil(page, {20, 260}, Qt::LeftButton, {}, told));
    EXPECT_EQ(m_statusTexts, QStringList{u"Link not opened: vnd.example:thing is not a web or mail address."_s});
    EXPECT_TRUE(ClickUntil(page, {20, 320}, Qt::LeftButton, {}, opened(u"mailto:a@example.test"_s)));

    // The page stays where it was, and nothing else was opened or asked for.
    EXPECT_EQ(page->GetLocationURL(), m_server.url(u"/links"_s));
    EXPECT_EQ(shell.targets.size(), 5) << shell.targets.join(u' ').toStdString();
    EXPECT_TRUE(desktop.opened.isEmpty()) << desktop.opened.join(u' ').toStdString();
    for (const QString &target : m_server.requests())
        EXPECT_FALSE(target.startsWith(u"/popup")) << target.toStdString();
    for (const QString &scheme : {u"vnd.example"_s, u"mailto"_s})
        QDesktopServices::unsetUrlHandler(scheme);

    // When neither the desktop nor the registered browser can open it, the
    // status bar says so.
    m_statusTexts.clear();
    shell.code = SE_ERR_NOASSOC;
    const QByteArray browser = qgetenv("BROWSER");
    qputenv("BROWSER", "registered-browser %s");
    LaunchRecorder launches(false);
    EXPECT_TRUE(ClickUntil(page, {20, 20}, Qt::LeftButton, {}, told));
    EXPECT_EQ(m_statusTexts, QStringList{u"Link not opened: no program could open " + m_server.url(u"/blank"_s) + u'.'});
    qputenv("BROWSER", browser);
}

TEST_F(ResultPageTest, DownloadsStartOnlyFromAClickInThePageShownOneQuestionAtATime)
{
    const QByteArray content(200000, 'x');
    m_server.setRoute(u"/report"_s, content, "application/octet-stream",
                      "Content-Disposition: attachment; filename=\"report.pdf\"\r\n");
    m_server.setRoute(u"/get"_s, (u"<body style=\"margin:0\"><a href=\"" + m_server.url(u"/report"_s)
                                              + u"\" style=\"display:block;height:200px\">get</a></body>").toUtf8());
    m_server.setRoute(u"/framed"_s, (u"<iframe src=\"" + m_server.url(u"/report"_s) + u"\"></iframe>").toUtf8());
    QTemporaryDir target;
    SaveFileRecorder chooser;
    chooser.held = true;
    const QList<SSaveFileQuestion> &questions = chooser.questions;
    CResultBrowser *page = Page(0);
    page->SetEngineName(u"Alpha"_s);
    ASSERT_TRUE(Load(page, m_server.url(u"/get"_s)));
    const auto click = [&](int questionsAsked) {
        return ClickUntil(page, {20, 20}, Qt::LeftButton, {}, [&] { return questions.size() == questionsAsked; });
    };
    const auto refusal = [this](const QString &why) {
        return WaitUntil([&] { return m_statusTexts.contains(CDownloadHandler::RefusedText(u"127.0.0.1"_s, why)); });
    };
    const QString noClick = u"it did not start from a click in the page shown."_s;

    // Asked, naming the file, the site and the engine; the window goes on.
    ASSERT_TRUE(click(1));
    EXPECT_EQ(questions.constFirst().title, u"Save \u201creport.pdf\u201d from 127.0.0.1 (Alpha)"_s);
    EXPECT_EQ(QFileInfo(questions.constFirst().proposedPath).fileName(), u"report.pdf"_s);
    EXPECT_TRUE(Load(Page(1), m_server.url(u"/meanwhile"_s)));
    // A second download while the question is open is refused.
    Page(0)->raise();
    ClickUntil(page, {20, 20}, Qt::LeftButton, {}, [&] { return !m_statusTexts.isEmpty(); });
    EXPECT_TRUE(refusal(u"another download is waiting for your answer."_s));
    EXPECT_EQ(questions.size(), 1);

    // Cancelled: nothing stays, not even the engine's partial file.
    const QString partialRoot = CResultProfile::DefaultCacheRoot() + u"/PartialDownloads";
    chooser.answerHeld({});
    EXPECT_TRUE(WaitUntil([&] { return QDir(partialRoot).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }));
    EXPECT_FALSE(QFile::exists(questions.constFirst().proposedPath));

    // Chosen: saved where the user said, with progress and success told.
    chooser.held = false;
    const QString answer = target.filePath(u"saved.pdf"_s);
    chooser.answer = answer;
    m_statusTexts.clear();
    ASSERT_TRUE(click(2));
    ASSERT_TRUE(WaitUntil([&] { return m_statusTexts.contains(CDownloadHandler::FinishedText(u"saved.pdf"_s)); }))
        << m_statusTexts.join(u'\n').toStdString();
    EXPECT_EQ(FileBytes(answer), content);

    // A frame that downloads by itself, and a page hidden by the time its
    // download comes, get no question.
    m_statusTexts.clear();
    ASSERT_TRUE(Load(page, m_server.url(u"/framed"_s)));
    EXPECT_TRUE(refusal(noClick));
    ASSERT_TRUE(Load(page, m_server.url(u"/get"_s)));
    m_statusTexts.clear();
    m_server.setHoldAnswers(true);
    ASSERT_TRUE(ClickUntil(page, {20, 20}, Qt::LeftButton, {}, [&] { return m_server.heldCount() > 0; }));
    Page(1)->raise();
    m_server.setHoldAnswers(false);
    m_server.releaseHeld();
    EXPECT_TRUE(refusal(noClick));
    EXPECT_EQ(questions.size(), 2);
}

// One run of the profile in QUAERIO_CHILD_DIR loading QUAERIO_CHILD_URL; with QUAERIO_CHILD_CLEAR it
// clears the browsing data and loads that until no cookie is sent. Started only by the test below.
TEST(ResultProfileRun, VisitOnce)
{
    const QString dir = qEnvironmentVariable("QUAERIO_CHILD_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "started only by CookiesOutliveTheRunUntilBrowsingDataIsCleared";
    CWebSession session({}, dir + u"/data", dir + u"/cache");
    QWidget host;
    CWebEngineBrowserControl control(&host, session);
    control.Navigate(qEnvironmentVariable("QUAERIO_CHILD_URL"));
    ASSERT_TRUE(WaitUntil([&control] { return !control.Busy(); }));
    const QString check = qEnvironmentVariable("QUAERIO_CHILD_CLEAR");
    if (check.isEmpty())
        return;
    session.Profile().ClearBrowsingData();
    ASSERT_TRUE(WaitUntil([&] {
        control.Navigate(check);
        return WaitUntil([&control] { return !control.Busy(); })
               && WaitUntil([&control] { return control.Page()->title() == u"clean"; }, 500);
    }));
}

TEST_F(ResultPageTest, CookiesOutliveTheRunUntilBrowsingDataIsCleared)
{
    m_server.setRoute(u"/consent"_s, "<title>set</title>", "text/html",
                      "Set-Cookie: consent=yes; Max-Age=86400; Path=/\r\n");
    QTemporaryDir data;
    const auto run = [&](const QString &path, const QString &clearCheck = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QUAERIO_CHILD_DIR"_s, data.path());
        env.insert(u"QUAERIO_CHILD_URL"_s, m_server.url(path));
        if (!clearCheck.isEmpty())
            env.insert(u"QUAERIO_CHILD_CLEAR"_s, m_server.url(clearCheck));
        return RunToEnd(QCoreApplication::applicationFilePath(), {u"--gtest_filter=ResultProfileRun.*"_s}, env, 60000).nExitCode == 0;
    };
    // The check page tells the child whether the page still sees the cookie.
    m_server.setRoute(u"/check"_s,
                      "<script>document.title = document.cookie.indexOf('consent=yes') < 0 ? 'clean' : 'seen';</script>");
    const auto cookieSentWith = [this](const QString &target) {
        const qsizetype index = m_server.requests().indexOf(target);
        return index >= 0 && m_server.received().at(index).headers.contains("Cookie: consent=yes");
    };

    ASSERT_TRUE(run(u"/consent"_s));
    EXPECT_FALSE(cookieSentWith(u"/consent"_s));
    ASSERT_TRUE(run(u"/next-run"_s, u"/check"_s));
    EXPECT_TRUE(cookieSentWith(u"/next-run"_s));
    ASSERT_TRUE(run(u"/run-after-clear"_s));
    EXPECT_FALSE(cookieSentWith(u"/run-after-clear"_s));
}

// The program shows no page's icon, so an engine gets only its pages' requests.
TEST_F(ResultPageTest, PageIconsAreNotFetched)
{
    m_server.setRoute(u"/iconic"_s, R"(<html><head><link rel="icon" href="/i.png"></head><body>x</body></html>)");
    ASSERT_TRUE(Load(Page(0), m_server.url(u"/iconic"_s)));
    // Fetched, an icon is asked for within a few hundred ms of the load.
    EXPECT_FALSE(WaitUntil([this] { return m_server.requests().contains(u"/i.png"_s); }, 1500));
    EXPECT_EQ(m_server.requests(), QStringList(u"/iconic"_s));
}

TEST_F(ResultPageTest, AKilledRendererShowsACrashPageWithReloadWhileOtherPagesCarryOn)
{
    LoopbackHttpServer other;
    ASSERT_TRUE(other.listen(QHostAddress(u"127.0.0.2"_s)));
    CResultBrowser *victim = Page(0);
    CResultBrowser *survivor = Page(1);
    ASSERT_TRUE(Load(victim, m_server.url(u"/victim"_s)));
    ASSERT_TRUE(Load(survivor, other.url(u"/survivor"_s)));
    // The engine started with the renderer limit (below two sites here).
    EXPECT_TRUE(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").contains("--renderer-process-limit="));
    QWebEnginePage *victimPage = Engine(victim)->Page();
    const qint64 pid = victimPage->renderProcessPid();
    ASSERT_GT(pid, 0);
    ASSERT_NE(pid, Engine(survivor)->Page()->renderProcessPid());

    // Killed while loading: the page stops being busy.
    m_server.setHoldAnswers(true);
    victim->NavigateTo(m_server.url(u"/slow"_s));
    ASSERT_TRUE(WaitUntil([&] { return m_server.heldCount() > 0; }));
    ASSERT_EQ(::kill(pid_t(pid), SIGKILL), 0);
    ASSERT_TRUE(WaitUntil([&] { return Engine(victim)->ShowsErrorPage() && !victim->GetBusy(); }));
    EXPECT_TRUE(WaitUntil([&] { return Engine(victim)->Page()->title().contains(u"This page crashed"); }))
        << Engine(victim)->Page()->title().toStdString();
    EXPECT_EQ(victim->GetLocationURL(), m_server.url(u"/slow"_s));
    m_server.setHoldAnswers(false);
    m_server.releaseHeld();

    EXPECT_FALSE(Engine(survivor)->ShowsErrorPage());
    ASSERT_TRUE(Load(survivor, other.url(u"/still-alive"_s)));
    EXPECT_EQ(survivor->GetLocationURL(), other.url(u"/still-alive"_s));

    // Reload, as the error page's link and the Refresh command do.
    m_server.clearRequests();
    victim->Refresh();
    ASSERT_TRUE(WaitUntil([&] { return !victim->GetBusy() && !Engine(victim)->ShowsErrorPage(); }));
    EXPECT_EQ(m_server.requests(), QStringList{u"/slow"_s});
    EXPECT_TRUE(WaitUntil([&] { return Engine(victim)->Page()->title() == u"Loopback"; }));
}

TEST_F(ResultPageTest, FailedLoadsShowAReadablePageWithTheEngineTheAddressAndARetry)
{
    m_server.setRoute(u"/broken"_s, "<body>oops</body>", "text/html", {}, "500 Internal Server Error");
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QString refused = u"http://127.0.0.1:%1/closed?q=pear"_s.arg(closed.serverPort());
    closed.close();
    CResultBrowser *page = Page(0);
    page->SetEngineName(u"Broken Engine"_s);
    for (const auto &[address, reason] : {std::pair{m_server.url(u"/broken?q=pear"_s), u"HTTP status 500"_s},
                                          std::pair{refused, u"refused the connection"_s}}) {
        ASSERT_TRUE(Load(page, address));
        // Chromium's own error page comes first; the readable page replaces it.
        QString html;
        EXPECT_TRUE(WaitUntil([&] { return (html = HtmlOf(Engine(page)->Page())).contains(u"Broken Engine"); }))
            << qPrintable(address);
        for (const QString &part : {u"Retry"_s, reason, address})
            EXPECT_TRUE(html.contains(part)) << qPrintable(part) << "\n" << qPrintable(html);
    }
}

TEST_F(ResultPageTest, CertificateErrorsAreRefusedWithAReadablePage)
{
    // A certificate of its own for 127.0.0.1, which no authority signed.
    const QByteArray both = FileBytes(QStringLiteral(QUAERIO_SOURCE_DIR "/tests/browsers/LoopbackCertificate.pem"));
    QSslServer tls;
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setLocalCertificate(QSslCertificate(both));
    config.setPrivateKey(QSslKey(both, QSsl::Rsa));
    tls.setSslConfiguration(config);
    ASSERT_TRUE(tls.listen(QHostAddress::LocalHost, 0));
    const QString address = u"https://127.0.0.1:%1/secure"_s.arg(tls.serverPort());

    CResultBrowser *page = Page(0);
    page->NavigateTo(address);
    ASSERT_TRUE(WaitUntil([&] { return Engine(page)->ShowsErrorPage() && !page->GetBusy(); }));
    EXPECT_TRUE(WaitUntil([&] { return Engine(page)->Page()->title().contains(u"certificate was refused"); }))
        << Engine(page)->Page()->title().toStdString();
    EXPECT_EQ(page->GetLocationURL(), address);
}

TEST_F(ResultPageTest, BlankPagesHaveNoEngineAndHiddenPagesFreezeYetKeepTheirHistory)
{
    WebEngineMemoryPolicy policy;
    policy.discardAfterMs = 0;
    UsePolicy(policy);
    CResultBrowser *hidden = Page(0);
    CResultBrowser *shown = Page(1);
    shown->raise();
    hidden->NavigateTo(u"about:blank"_s);
    EXPECT_EQ(Engine(hidden)->Page(), nullptr);
    EXPECT_FALSE(hidden->GetBusy());
    EXPECT_EQ(hidden->GetLocationURL(), u"about:blank"_s);

    ASSERT_TRUE(Load(hidden, m_server.url(u"/first"_s)));
    ASSERT_TRUE(Load(hidden, m_server.url(u"/second"_s)));
    ASSERT_TRUE(Load(shown, m_server.url(u"/shown"_s)));
    QWebEnginePage *engine = Engine(hidden)->Page();
    // Frozen, and without a view while unseen.
    EXPECT_TRUE(WaitUntil([engine] { return engine->lifecycleState() == QWebEnginePage::LifecycleState::Frozen; }));
    EXPECT_EQ(Engine(hidden)->View(), nullptr);
    EXPECT_NE(Engine(shown)->View(), nullptr);
    EXPECT_EQ(Engine(shown)->Page()->lifecycleState(), QWebEnginePage::LifecycleState::Active);

    // Back, Forward and Refresh still act on the frozen page.
    hidden->GoBack();
    ASSERT_TRUE(WaitUntil([&] { return hidden->GetLocationURL() == m_server.url(u"/first"_s); }));
    hidden->GoForward();
    ASSERT_TRUE(WaitUntil([&] { return hidden->GetLocationURL() == m_server.url(u"/second"_s); }));
    m_server.clearRequests();
    hidden->Refresh();
    ASSERT_TRUE(WaitUntil([&] { return m_server.requests().contains(u"/second"); }));

    // Shown again: awake, with its document.
    hidden->raise();
    EXPECT_TRUE(WaitUntil([&] {
        return Engine(hidden)->View() && Engine(hidden)->View()->isVisible() && engine->lifecycleState() == QWebEnginePage::LifecycleState::Active;
    }));
    EXPECT_TRUE(WaitUntil([engine] { return engine->title() == u"Loopback"; }));

    // The other page lost its view while hidden, and gets it back with its
    // document when shown again.
    EXPECT_TRUE(WaitUntil([&] { return Engine(shown)->View() == nullptr; }));
    shown->raise();
    EXPECT_TRUE(WaitUntil([&] { return Engine(shown)->View() && Engine(shown)->View()->isVisible(); }));
    EXPECT_EQ(Engine(shown)->View()->url(), QUrl(m_server.url(u"/shown"_s)));
    EXPECT_EQ(shown->GetLocationURL(), m_server.url(u"/shown"_s));
}

#include "ResultPageWebEngineTest.moc"

TEST(EngineSwitches, TheStoredRendererLimitAndTheForegroundSwitchJoinTheEnginesSwitchesUnlessTheyNameThem)
{
    struct Case
    {
        QByteArray flags;
        int limit;
        QByteArray expected;
    };
    const Case cases[] = {
        {"", 8, "--renderer-process-limit=8"},
        {"--disable-gpu", 3, "--disable-gpu --renderer-process-limit=3"},
        {"--renderer-process-limit=2", 8, "--renderer-process-limit=2"},
        {"--disable-gpu", 0, "--disable-gpu"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(WithRendererProcessLimit(c.flags, c.limit), c.expected) << c.flags.constData() << " " << c.limit;
    EXPECT_EQ(WithRenderersKeptInForeground(""), "--disable-renderer-backgrounding");
    EXPECT_EQ(WithRenderersKeptInForeground("--disable-gpu --disable-renderer-backgrounding"),
              "--disable-gpu --disable-renderer-backgrounding");

    const TempProfile profile;
    const QString section = QStringLiteral("WebPages"), key = QStringLiteral("RendererProcessLimit");
    EXPECT_EQ(StoredRendererProcessLimit(), kDefaultRendererProcessLimit);
    for (const int stored : {0, 3}) {
        WriteProfileInt(section, key, stored);
        EXPECT_EQ(StoredRendererProcessLimit(), stored);
    }
    WriteProfileInt(section, key, -1);
    EXPECT_EQ(StoredRendererProcessLimit(), kDefaultRendererProcessLimit);
}

TEST_F(ResultPageTest, PermissionRequestsAreDeniedWithoutAPrompt)
{
    m_server.setRoute(u"/ask"_s, "<title>asking</title><script>var geo = '', note = '';"
                      "function done() { if (geo && note) document.title = geo + ' ' + note; }"
                      "navigator.geolocation.getCurrentPosition(function () { geo = 'geo-allowed'; done(); },"
                      "  function (e) { geo = e.code === e.PERMISSION_DENIED ? 'geo-denied' : 'geo-' + e.code; done(); });"
                      "Notification.requestPermission().then(function (p) { note = 'note-' + p; done(); });"
                      "</script>");
    CResultBrowser *page = Page(0);
    ASSERT_TRUE(Load(page, m_server.url(u"/ask"_s)));
    EXPECT_TRUE(WaitForTitle(page, u"geo-denied note-denied"_s)) << Engine(page)->Page()->title().toStdString();
    EXPECT_TRUE(m_boxes.calls.empty());
}
