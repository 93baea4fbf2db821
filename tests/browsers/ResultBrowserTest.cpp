#include <QCoreApplication>

#include "tests/browsers/BrowserTestSupport.h"

TEST(QueryUrlTest, EveryStarTakesTheKeywordsOnce)
{
    // Both places, left to right; a "*" inside the keywords is not expanded.
    EXPECT_EQ(BuildQueryUrl(QStringLiteral("http://e.test/s?a=*&b=*"), QStringLiteral("x*y")),
              QStringLiteral("http://e.test/s?a=x*y&b=x*y"));
    // No "*": the template whatever the keywords.
    EXPECT_EQ(BuildQueryUrl(QStringLiteral("http://e.test/fixed?x=1"), QStringLiteral("C++ & more")),
              QStringLiteral("http://e.test/fixed?x=1"));
    // Spaces and non-ASCII letters stay as typed for the browser to encode.
    EXPECT_EQ(BuildQueryUrl(QStringLiteral("http://e.test/?q=*"), QStringLiteral("caf\u00e9 \u5317\u4eac \U0001F600")),
              QStringLiteral("http://e.test/?q=caf\u00e9 \u5317\u4eac \U0001F600"));
    EXPECT_EQ(BuildQueryUrl(QString(), QStringLiteral("k")), QString());
}

TEST(QueryUrlTest, KeywordsInTheQueryCannotChangeItsStructure)
{
    const QString tpl = QStringLiteral("http://e.test/search?q=*&lang=en");
    EXPECT_EQ(BuildQueryUrl(tpl, QStringLiteral("C++")), QStringLiteral("http://e.test/search?q=C%2B%2B&lang=en"));
    EXPECT_EQ(BuildQueryUrl(tpl, QStringLiteral("AT&T")), QStringLiteral("http://e.test/search?q=AT%26T&lang=en"));
    EXPECT_EQ(BuildQueryUrl(tpl, QStringLiteral("C#")), QStringLiteral("http://e.test/search?q=C%23&lang=en"));
    EXPECT_EQ(BuildQueryUrl(tpl, QStringLiteral("100%")), QStringLiteral("http://e.test/search?q=100%25&lang=en"));
    EXPECT_EQ(BuildQueryUrl(tpl, QStringLiteral("a;b %41")), QStringLiteral("http://e.test/search?q=a%3Bb %2541&lang=en"));
    // In the fragment too.
    EXPECT_EQ(BuildQueryUrl(QStringLiteral("http://e.test/app#q=*"), QStringLiteral("C# & F#")),
              QStringLiteral("http://e.test/app#q=C%23 %26 F%23"));
}

TEST(QueryUrlTest, KeywordsOutsideQueryAndFragmentGoInAsTyped)
{
    EXPECT_EQ(BuildQueryUrl(QStringLiteral("*"), QStringLiteral("http://e.test/?a=1&b=C++#top")),
              QStringLiteral("http://e.test/?a=1&b=C++#top"));
    EXPECT_EQ(BuildQueryUrl(QStringLiteral("http://e.test/wiki/*"), QStringLiteral("AT&T")),
              QStringLiteral("http://e.test/wiki/AT&T"));
    // One template, both kinds of place.
    EXPECT_EQ(BuildQueryUrl(QStringLiteral("http://e.test/*/find?q=*"), QStringLiteral("a+b")),
              QStringLiteral("http://e.test/a+b/find?q=a%2Bb"));
}

using PageTest = RecordingPoolTest;

TEST_F(PageTest, TextsAreCutToTheirCapacity)
{
    CResultBrowser *page = Activate(0, u"http://127.0.0.1/?q=*" + QString(600, u'u'));
    EXPECT_EQ(page->QueryTemplate().size(), CResultBrowser::MaxQueryTemplateLength);

    page->SetQueryTemplate(QStringLiteral("http://127.0.0.1/?q=*"));
    m_pool.SearchAll(QString(300, u'k'));
    EXPECT_EQ(page->Keywords(), QString(259, u'k'));
    ASSERT_TRUE(SettleWorkers(m_pool));
    EXPECT_EQ(ControlOf(page)->Navigations(), QStringList{u"http://127.0.0.1/?q=" + QString(259, u'k')});

    // A cut never leaves half of a character behind.
    const QString face = QStringLiteral("\U0001F600");
    page->SetKeywords(QString(258, u'k') + face);
    EXPECT_EQ(page->Keywords(), QString(258, u'k'));
    page->SetKeywords(QString(257, u'k') + face + u'x');
    EXPECT_EQ(page->Keywords(), QString(257, u'k') + face);
}

TEST_F(PageTest, NavigateToStopsOnlyABusyPage)
{
    CResultBrowser *page = m_pool.GetBrowser(0);
    CRecordingBrowserControl *control = ControlOf(page);
    page->NavigateTo(QStringLiteral("about:blank"));
    EXPECT_EQ(control->Calls(), QStringList{QStringLiteral("Navigate about:blank")});
    EXPECT_TRUE(page->GetBusy());

    page->NavigateTo(QStringLiteral("/tmp/start.mht"));
    EXPECT_EQ(control->Calls(),
              (QStringList{QStringLiteral("Navigate about:blank"), QStringLiteral("Stop"), QStringLiteral("Navigate /tmp/start.mht")}));
    EXPECT_EQ(page->GetLocationURL(), QStringLiteral("/tmp/start.mht"));
    control->FinishNavigation();
    EXPECT_FALSE(page->GetBusy());
}

TEST_F(PageTest, WorkerEntryNeedsAPageAndAPendingSearch)
{
    EXPECT_EQ(CResultBrowser::QueryThreadProc(nullptr), 1u);

    // Without a search started for it, a page's worker has nothing to do.
    CResultBrowser *page = Activate(0, QStringLiteral("http://127.0.0.1/?q=*"));
    page->SetKeywords(QStringLiteral("unasked"));
    EXPECT_EQ(CResultBrowser::QueryThreadProc(page), 0u);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(ControlOf(page)->Calls().isEmpty());
}

TEST_F(PageTest, QueryStartedBeforeADirectNavigationNeverLandsAfterIt)
{
    CResultBrowser *page = Activate(0, QStringLiteral("http://127.0.0.1/?q=*"));
    page->SetKeywords(QStringLiteral("late"));
    ASSERT_TRUE(page->StartQueryThread());
    page->NavigateTo(QStringLiteral("about:blank"));
    ASSERT_TRUE(SettleWorkers(m_pool));
    EXPECT_EQ(ControlOf(page)->Navigations(), QStringList{QStringLiteral("about:blank")});
}

TEST(WebBrowser2Test, CommandsReachTheControlOnlyAfterCreate)
{
    MessageBoxRecorder boxes;
    SetBrowserControlFactory({});
    QWidget parent;
    parent.show();
    CWebBrowser2 browser;
    browser.Navigate2(QStringLiteral("about:blank"));
    browser.ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, 4);
    EXPECT_EQ(browser.Control(), nullptr);
    EXPECT_FALSE(browser.GetBusy());
    EXPECT_TRUE(browser.GetLocationURL().isEmpty());

    EXPECT_FALSE(browser.Create(&parent, QRect(), 0));

    CRecordingBrowserFactory factory;
    factory.Install();
    ASSERT_TRUE(browser.Create(&parent, QRect(0, 0, 120, 80), 5));
    auto *control = dynamic_cast<CRecordingBrowserControl *>(browser.Control());
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(browser.parentWidget(), &parent);
    EXPECT_EQ(control->Widget()->parentWidget(), &browser);
    EXPECT_EQ(control->Widget()->size(), QSize(120, 80));
    browser.resize(300, 200);
    EXPECT_EQ(control->Widget()->size(), QSize(300, 200));
    EXPECT_FALSE(browser.GetBusy());
    EXPECT_EQ(browser.GetLocationURL(), QStringLiteral("about:blank"));

    browser.GoBack();
    browser.GoForward();
    browser.Refresh();
    browser.ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, 4);
    browser.ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, 0);
    browser.ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, 9);
    browser.ExecWB(OLECMDID_ZOOM + 1, OLECMDEXECOPT_DONTPROMPTUSER, 1); // not a command we know
    browser.Stop();
    EXPECT_EQ(control->Calls(), (QStringList{QStringLiteral("GoBack"), QStringLiteral("GoForward"), QStringLiteral("Refresh"),
                                             QStringLiteral("SetZoomLevel 4"), QStringLiteral("SetZoomLevel 0"),
                                             QStringLiteral("SetZoomLevel 4"), QStringLiteral("Stop")}));
    SetBrowserControlFactory({});
}
